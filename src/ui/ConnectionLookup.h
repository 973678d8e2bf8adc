#pragma once

#include "data/DataSet.h"
#include "ui/Forms.h"

// The drop-down list of connections on the editor and the wizard, which behaves as a list bound
// to the IP-set row's "CONNECTION" column: it offers every row of the connections table by name,
// shows the row's connection, and writes the ID of the one the user picks into the row.

// Fills List with the connections' names in the table's order, each item carrying its ID.
void FillConnectionList(TComboBox& List, TDataSet& Connections);

// Chooses the item of the connection that the current IP-set row names; none when no item does.
void ShowRowConnection(TComboBox& List, TDataSet& IPSets);

// After the user changed the choice: the chosen item's ID goes into the row being inserted or
// edited, 0 (no connection) when the choice was cleared.
void WriteChosenConnection(const TComboBox& List, TDataSet& IPSets);
