#pragma once

// The start's own timing, for finding where it spends its time: when the environment holds
// QUELVANO_START_TRACE, each mark writes "start_trace: STEP MS ms" to standard error, MS counted
// from the first mark. Without it a mark does nothing and the program's output stays its own.
void StartTrace(const char* Step);
