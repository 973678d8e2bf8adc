#pragma once

#include "data/IPSetExtras.h"

#include <cstdint>
#include <map>

class TDBConnection;

// The statements that create the table of a set's extras and the trigger that deletes a set's
// rows with the set, in the same statement and so in the same transaction.
const char* ExtrasTableSql();

// The set's extras; none when it has no rows.
TIPSetExtras LoadIPSetExtras(TDBConnection& Connection, std::int64_t SetID);

// The extras of every set that has any, by set ID, in one query: what a fill of the IP-set tree
// reads, however many sets there are.
std::map<std::int64_t, TIPSetExtras> LoadAllIPSetExtras(TDBConnection& Connection);

// Replaces the set's rows by Extras, as one change (inside the caller's transaction when there is
// one).
void SaveIPSetExtras(TDBConnection& Connection, std::int64_t SetID, const TIPSetExtras& Extras);
