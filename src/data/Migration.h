#pragma once

class TDBConnection;

// The version of the schema this program writes. Version 1 adds the table UndoRecords, version 2
// the table IPSetExtras; the two tables of the IP sets never change.
constexpr int SchemaVersion = 2;

// Brings an older file to SchemaVersion in one transaction, adding only what it lacks; a file of
// a later version is refused and left as it is.
void MigrateSchema(TDBConnection& Connection);
