#pragma once

#include "data/DataSet.h"
#include "data/Schema.h"

#include <cstdint>
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
// key: every move asks the store, so what is shown is always what was posted.
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

    void CheckActive() const;
    void CheckBrowseMode();
    std::string SelectSql(const std::string& Tail) const;
    // Makes the first row that the statement yields current; false (and nothing changed) if none.
    bool LoadRow(TStatement& Query);
    bool LoadById(std::int64_t Id);
    bool LoadNeighbour(std::int64_t Id, bool After);
    void ClearRow();
    void BindValue(TStatement& Query, int Param, int Column) const;
    void PostInsert();
    void PostEdit();

    const TTableDef& FDef;
    TDBConnection* FConnection = nullptr;
    std::vector<std::unique_ptr<TSqlField>> FFields;
    std::vector<TFieldValue> FRow;
    TDataSetState FState = TDataSetState::dsInactive;
    bool FEof = true;
    bool FHasRow = false;
    // What was current when insert or edit began, for Cancel.
    std::vector<TFieldValue> FSavedRow;
    bool FSavedHasRow = false;
    bool FSavedEof = true;
};
