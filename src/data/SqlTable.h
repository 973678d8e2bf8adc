#pragma once

#include "data/DataSet.h"
#include "data/Schema.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TDBConnection;
class TSqlTable;
class TStatement;

struct TFieldValue {
    bool Null = true;
    std::int64_t Integer = 0; // integer and boolean columns
    std::string Text;         // text columns
};

class TSqlField : public TField {
public:
    TSqlField(TSqlTable& Table, int Index);

    const std::string& FieldName() const override;
    bool IsNull() const override;
    std::string AsString() const override;
    int AsInteger() const override;
    bool AsBoolean() const override;
    void SetAsString(const std::string& Value) override;
    void SetAsInteger(int Value) override;
    void SetAsBoolean(bool Value) override;

private:
    const TColumnDef& Def() const;
    const TFieldValue& Value() const;
    void Store(const TFieldValue& Value);
    void StoreText(const std::string& Text);

    TSqlTable& FTable;
    int FIndex;
};

// A table of the database file behind the one-cursor interface. The cursor is the current row's
// key. A move reads from the store, with two savings: Next takes the rows that the last ordered
// read brought ahead of the cursor (every other move and every change drops them), and a locate
// by ID gives again a row found by ID before as long as the connection's read epoch has not moved
// on. So what is shown after a post, a delete or a refresh is always what the file holds.
class TSqlTable : public TDataSet {
public:
    TSqlTable(TComponent* AOwner, const TTableDef& Def);
    ~TSqlTable() override;

    const TTableDef& Definition() const { return FDef; }
    void SetConnection(TDBConnection* Connection);
    void Open(); // checks the file's table and goes to the first row
    void Close();

    TDataSetState State() const override { return FState; }
    void Refresh() override;
    int RecordCount() const override;
    void First() override;
    void Next() override;
    bool Eof() const override { return FEof; }
    bool Locate(const std::string& FieldName, const std::string& Value) override;
    bool Locate(const std::string& FieldName, int Value) override;
    void Insert() override;
    void Edit() override;
    void Post() override;
    void Cancel() override;
    void Delete() override;
    TField& FieldByName(const std::string& Name) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TSqlField;

    // The statements a table object runs, prepared on first use and kept until it closes.
    enum TQuery { qFirstRows, qRowsAfter, qRowBefore, qRowById, qCount, qInsert, qUpdate, qDelete };
    static const int QueryCount = qDelete + 1;

    void CheckActive() const;
    void CheckBrowseMode();
    std::string SelectSql(const std::string& Tail) const;
    std::string QuerySql(TQuery Query) const;
    TStatement& Prepared(TQuery Query) const;
    TStatement& LocateQuery(int Column);
    // Makes the first row that the statement yields current; false (and nothing changed) if none.
    bool LoadRow(TStatement& Query);
    bool LoadById(std::int64_t Id);
    void MakeCurrent(); // the row just read into FRow
    // Replaces the rows ahead with what the statement yields; false if it yields none.
    bool ReadAhead(TStatement& Query);
    bool ReadAheadAfter(std::int64_t Id);
    bool TakeAhead(); // the next row ahead becomes current; false if none is left
    void DropAhead();
    void ClearRow();
    void BindValue(TStatement& Query, int Param, int Column) const;
    void PostInsert();
    void PostEdit();

    const TTableDef& FDef;
    TDBConnection* FConnection = nullptr;
    std::vector<std::unique_ptr<TSqlField>> FFields;
    std::vector<TFieldValue> FRow;
    mutable std::unique_ptr<TStatement> FQueries[QueryCount];
    std::vector<std::unique_ptr<TStatement>> FLocates; // by column
    // The rows that follow the current one, one after another, a value per column.
    std::vector<TFieldValue> FAhead;
    std::size_t FAheadNext = 0;
    // Rows found by ID in the connection's current read epoch. Filling the tree looks up a
    // connection for every IP set, and each read of the store costs file-lock calls that
    // outweigh the rest of the fill.
    std::map<std::int64_t, std::vector<TFieldValue>> FFound;
    std::uint64_t FFoundEpoch = 0;
    TDataSetState FState = TDataSetState::dsInactive;
    bool FEof = true;
    bool FHasRow = false;
    // What was current when insert or edit began, for Cancel.
    std::vector<TFieldValue> FSavedRow;
    bool FSavedHasRow = false;
    bool FSavedEof = true;
};
