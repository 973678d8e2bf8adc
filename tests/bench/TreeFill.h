#pragma once

class TTreeView;

// Times the IP-set tree fill: a fresh store holds Sets sets spread over 50 connections, and the
// tree is filled from it Runs times. Returns the median in milliseconds. After each fill, Settle
// (when given) runs inside the timing, for what the control does once the fill has ended.
double MedianTreeFillMilliseconds(TTreeView& Tree, int Sets, int Runs,
                                  void (*Settle)(TTreeView&) = nullptr);
