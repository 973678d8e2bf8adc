#pragma once

#include "data/IPSetExtras.h"

#include <cstdint>

class TDBConnection;

// The statements that create the table of a set's extras and the trigger that deletes a set's
// rows with the set, in the same statement and so in the same transaction.
const char* ExtrasTableSql();

// The set's extras; none when it has no rows.
TIPSetExtras LoadIPSetExtras(TDBConnection& Connection, std::int64_t SetID);

// Replaces the set's rows by Extras, as one change (inside the caller's transaction when there is
// one).
void SaveIPSetExtras(TDBConnection& Connection, std::int64_t SetID, const TIPSetExtras& Extras);
