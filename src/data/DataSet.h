#pragma once

#include "base/TComponent.h"

#include <string>

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// What is raised for a row that another program deleted while this one still meant to change it.
// Only IP sets are ever changed or deleted, so the message names them.
extern const char* const RowGoneMessage;

// One column of the current row, addressed by name without regard to letter case. A null value
// reads as the empty text, 0 and false.
class TField {
public:
    virtual ~TField() = default;
    virtual const std::string& FieldName() const = 0;
    virtual bool IsNull() const = 0;
    virtual std::string AsString() const = 0;
    virtual int AsInteger() const = 0;
    virtual bool AsBoolean() const = 0;
    // Writing needs the data set in insert or edit state; a value that breaks the column's rule
    // raises and leaves the state as it was.
    virtual void SetAsString(const std::string& Value) = 0;
    virtual void SetAsInteger(int Value) = 0;
    virtual void SetAsBoolean(bool Value) = 0;
};

// A table with one cursor, shared by everyone who holds it: moving, locating or editing changes
// the current row for all of them.
class TDataSet : public TComponent {
public:
    using TComponent::TComponent;

    virtual TDataSetState State() const = 0;
    bool Active() const { return State() != TDataSetState::dsInactive; }

    // Re-reads the rows from the store; the cursor goes to the first row.
    virtual void Refresh() = 0;
    virtual int RecordCount() const = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;

    // Whole-value match on one column; on success the found row becomes current, otherwise the
    // cursor stays where it was.
    virtual bool Locate(const std::string& FieldName, const std::string& Value) = 0;
    virtual bool Locate(const std::string& FieldName, int Value) = 0;

    virtual void Insert() = 0; // a new empty row (column defaults applied) becomes current
    virtual void Edit() = 0;
    // Raises on a broken rule and stays in insert or edit state. A changed row that another
    // program deleted meanwhile raises RowGoneMessage and the change is cancelled: nothing is
    // written and the row is current as it was before the edit.
    virtual void Post() = 0;
    virtual void Cancel() = 0;
    virtual void Delete() = 0; // removes the current row

    // Raises Exception naming the field when the table has no such column.
    virtual TField& FieldByName(const std::string& Name) = 0;
};
