#include "data/SqlTable.h"

#include "base/Exception.h"
#include "base/TextUtils.h"
#include "data/DBConnection.h"

#include <climits>
#include <cstddef>
#include <utility>

const char* const RowGoneMessage = "La configuracion IP ya no existe: otro programa la elimino.";

namespace {

std::string FieldMessage(const TColumnDef& C, const std::string& Rule) {
    return "El campo " + C.Name + " " + Rule + ".";
}

// Strict decimal, as typed by a person: optional sign, digits, nothing else.
bool ParseInteger(const std::string& Text, std::int64_t& Value) {
    std::size_t I = (!Text.empty() && (Text[0] == '-' || Text[0] == '+')) ? 1 : 0;
    if (I == Text.size() || Text.size() - I > 10)
        return false;
    std::int64_t Result = 0;
    for (; I < Text.size(); ++I) {
        if (Text[I] < '0' || Text[I] > '9')
            return false;
        Result = Result * 10 + (Text[I] - '0');
    }
    Value = Text[0] == '-' ? -Result : Result;
    return Value >= INT_MIN && Value <= INT_MAX;
}

bool ParseBoolean(const std::string& Text, bool& Value) {
    const std::string Upper = UpperCaseAscii(Text);
    if (Upper == "TRUE" || Upper == "1")
        Value = true;
    else if (Upper == "FALSE" || Upper == "0")
        Value = false;
    else
        return false;
    return true;
}

// Rows that one ordered read brings ahead of the cursor: a full walk costs one read per batch
// rather than one per row, and a batch is small enough that a walk broken off early has read
// little for nothing.
const int ReadAheadRows = 128;

// A kept statement is reset however its use ends; see TStatement.
class TResetOnExit {
public:
    explicit TResetOnExit(TStatement& Query) : FQuery(Query) {}
    ~TResetOnExit() { FQuery.Reset(); }
    TResetOnExit(const TResetOnExit&) = delete;
    TResetOnExit& operator=(const TResetOnExit&) = delete;

private:
    TStatement& FQuery;
};

// The statement's current row, a value per column of the table, into Values onwards.
void ReadValues(const TStatement& Query, const TTableDef& Def,
                std::vector<TFieldValue>::iterator Values) {
    for (std::size_t I = 0; I < Def.Columns.size(); ++I, ++Values) {
        const int Col = static_cast<int>(I);
        TFieldValue V;
        V.Null = Query.ColumnIsNull(Col);
        if (!V.Null) {
            if (Def.Columns[I].Type == TColumnType::ctText)
                V.Text = Query.ColumnText(Col);
            else
                V.Integer = Query.ColumnInteger(Col);
        }
        *Values = std::move(V);
    }
}

TFieldValue IntegerValue(std::int64_t V) {
    TFieldValue Result;
    Result.Null = false;
    Result.Integer = V;
    return Result;
}

} // namespace

TSqlField::TSqlField(TSqlTable& Table, int Index) : FTable(Table), FIndex(Index) {}

const TColumnDef& TSqlField::Def() const {
    return FTable.FDef.Columns[static_cast<std::size_t>(FIndex)];
}

const TFieldValue& TSqlField::Value() const {
    return FTable.FRow[static_cast<std::size_t>(FIndex)];
}

const std::string& TSqlField::FieldName() const {
    return Def().Name;
}

bool TSqlField::IsNull() const {
    return Value().Null;
}

std::string TSqlField::AsString() const {
    const TFieldValue& V = Value();
    if (V.Null)
        return "";
    switch (Def().Type) {
    case TColumnType::ctText:
        return V.Text;
    case TColumnType::ctBoolean:
        return V.Integer ? "True" : "False";
    default:
        return std::to_string(V.Integer);
    }
}

int TSqlField::AsInteger() const {
    const TFieldValue& V = Value();
    if (V.Null)
        return 0;
    if (Def().Type != TColumnType::ctText)
        return static_cast<int>(V.Integer);
    std::int64_t Parsed = 0;
    if (!ParseInteger(V.Text, Parsed))
        throw Exception("\"" + V.Text + "\" no es un valor entero valido para el campo " +
                        Def().Name + ".");
    return static_cast<int>(Parsed);
}

bool TSqlField::AsBoolean() const {
    const TFieldValue& V = Value();
    if (V.Null)
        return false;
    if (Def().Type != TColumnType::ctText)
        return V.Integer != 0;
    bool Parsed = false;
    if (!ParseBoolean(V.Text, Parsed))
        throw Exception("\"" + V.Text + "\" no es un valor logico valido para el campo " +
                        Def().Name + ".");
    return Parsed;
}

void TSqlField::Store(const TFieldValue& NewValue) {
    const TDataSetState S = FTable.FState;
    if (S != TDataSetState::dsInsert && S != TDataSetState::dsEdit)
        throw Exception("La tabla " + FTable.FDef.Name +
                        " no esta en modo de edicion o insercion.");
    if (Def().Type == TColumnType::ctAutoNumber)
        throw Exception(FieldMessage(Def(), "no puede modificarse"));
    FTable.FRow[static_cast<std::size_t>(FIndex)] = NewValue;
}

void TSqlField::StoreText(const std::string& Text) {
    const TColumnDef& C = Def();
    if (Utf8Length(Text) > static_cast<std::size_t>(C.Size))
        throw Exception(
            FieldMessage(C, "admite como maximo " + std::to_string(C.Size) + " caracteres"));
    if (Text.empty() && !C.AllowZeroLength)
        throw Exception(FieldMessage(C, "no admite una cadena de longitud cero"));
    TFieldValue V;
    V.Null = false;
    V.Text = Text;
    Store(V);
}

void TSqlField::SetAsString(const std::string& Value) {
    const TColumnDef& C = Def();
    switch (C.Type) {
    case TColumnType::ctText:
        StoreText(Value);
        return;
    case TColumnType::ctBoolean: {
        bool B = false;
        if (!ParseBoolean(Value, B))
            throw Exception(FieldMessage(C, "solo admite los valores True o False"));
        Store(IntegerValue(B ? 1 : 0));
        return;
    }
    default: {
        // An empty text clears a column that may be null, as an empty box means "no value".
        if (Value.empty()) {
            Store(TFieldValue{});
            return;
        }
        std::int64_t N = 0;
        if (!ParseInteger(Value, N))
            throw Exception(FieldMessage(C, "solo admite numeros enteros"));
        Store(IntegerValue(N));
    }
    }
}

void TSqlField::SetAsInteger(int Value) {
    const TColumnDef& C = Def();
    if (C.Type == TColumnType::ctText)
        StoreText(std::to_string(Value));
    else if (C.Type == TColumnType::ctBoolean)
        Store(IntegerValue(Value != 0 ? 1 : 0));
    else
        Store(IntegerValue(Value));
}

void TSqlField::SetAsBoolean(bool Value) {
    const TColumnDef& C = Def();
    if (C.Type == TColumnType::ctText)
        StoreText(Value ? "True" : "False");
    else
        Store(IntegerValue(Value ? 1 : 0));
}

TSqlTable::TSqlTable(TComponent* AOwner, const TTableDef& Def)
    : TDataSet(AOwner), FDef(Def), FRow(Def.Columns.size()) {
    for (std::size_t I = 0; I < Def.Columns.size(); ++I)
        FFields.push_back(std::make_unique<TSqlField>(*this, static_cast<int>(I)));
}

TSqlTable::~TSqlTable() {
    SetConnection(nullptr);
}

void TSqlTable::SetConnection(TDBConnection* Connection) {
    if (Connection == FConnection)
        return;
    Close();
    if (FConnection)
        RemoveFreeNotification(FConnection);
    FConnection = Connection;
    if (FConnection)
        FreeNotification(FConnection);
}

void TSqlTable::Notification(TComponent* AComponent, TOperation Operation) {
    TDataSet::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FConnection) {
        Close();
        FConnection = nullptr;
    }
}

void TSqlTable::Open() {
    if (!FConnection || !FConnection->Connected())
        throw Exception("La base de datos no esta abierta.");
    try {
        // Preparing the full column list proves that the table has every column we use.
        TStatement Probe(*FConnection, SelectSql("LIMIT 0"));
    } catch (const Exception&) {
        throw Exception("El archivo de base de datos \"" + FConnection->FileName() +
                        "\" no contiene la tabla " + FDef.Name + " con sus columnas.");
    }
    FState = TDataSetState::dsBrowse;
    First();
}

void TSqlTable::Close() {
    FState = TDataSetState::dsInactive;
    ClearRow();
    for (std::unique_ptr<TStatement>& Query : FQueries)
        Query.reset();
    FLocates.clear();
    FFound.clear();
}

void TSqlTable::CheckActive() const {
    if (FState == TDataSetState::dsInactive)
        throw Exception("La tabla " + FDef.Name + " no esta abierta.");
}

// Moving away from a row being changed saves the change first, as a form does when the user
// moves on.
void TSqlTable::CheckBrowseMode() {
    CheckActive();
    if (FState != TDataSetState::dsBrowse)
        Post();
}

std::string TSqlTable::SelectSql(const std::string& Tail) const {
    std::string Sql = "SELECT ";
    for (std::size_t I = 0; I < FDef.Columns.size(); ++I)
        Sql += (I ? ", " : "") + FDef.Columns[I].Name;
    return Sql + " FROM " + FDef.Name + " " + Tail;
}

std::string TSqlTable::QuerySql(TQuery Query) const {
    const std::string Batch = " LIMIT " + std::to_string(ReadAheadRows);
    std::string Names, Marks, Sets;
    for (std::size_t I = 1; I < FDef.Columns.size(); ++I) {
        Names += (I > 1 ? ", " : "") + FDef.Columns[I].Name;
        Marks += I > 1 ? ", ?" : "?";
        Sets += (I > 1 ? ", " : "") + FDef.Columns[I].Name + " = ?";
    }
    switch (Query) {
    case qFirstRows:
        return SelectSql("ORDER BY ID" + Batch);
    case qRowsAfter:
        return SelectSql("WHERE ID > ? ORDER BY ID" + Batch);
    case qRowBefore:
        return SelectSql("WHERE ID < ? ORDER BY ID DESC LIMIT 1");
    case qRowById:
        return SelectSql("WHERE ID = ?");
    case qCount:
        return "SELECT COUNT(*) FROM " + FDef.Name;
    case qInsert:
        return "INSERT INTO " + FDef.Name + " (" + Names + ") VALUES (" + Marks + ")";
    case qUpdate:
        return "UPDATE " + FDef.Name + " SET " + Sets + " WHERE ID = ?";
    case qDelete:
        return "DELETE FROM " + FDef.Name + " WHERE ID = ?";
    }
    return std::string();
}

TStatement& TSqlTable::Prepared(TQuery Query) const {
    std::unique_ptr<TStatement>& Kept = FQueries[Query];
    if (!Kept || Kept->Stale())
        Kept = std::make_unique<TStatement>(*FConnection, QuerySql(Query));
    return *Kept;
}

TStatement& TSqlTable::LocateQuery(int Column) {
    FLocates.resize(FDef.Columns.size());
    std::unique_ptr<TStatement>& Kept = FLocates[static_cast<std::size_t>(Column)];
    if (!Kept || Kept->Stale())
        Kept = std::make_unique<TStatement>(
            *FConnection, SelectSql("WHERE " + FDef.Columns[static_cast<std::size_t>(Column)].Name +
                                    " = ? ORDER BY ID LIMIT 1"));
    return *Kept;
}

void TSqlTable::DropAhead() {
    FAhead.clear();
    FAheadNext = 0;
}

void TSqlTable::ClearRow() {
    FRow.assign(FDef.Columns.size(), TFieldValue{});
    FHasRow = false;
    FEof = true;
    DropAhead();
}

bool TSqlTable::LoadRow(TStatement& Query) {
    TResetOnExit Reset(Query);
    if (!Query.Step())
        return false;
    ReadValues(Query, FDef, FRow.begin());
    MakeCurrent();
    return true;
}

void TSqlTable::MakeCurrent() {
    DropAhead();
    FHasRow = true;
    FEof = false;
}

bool TSqlTable::LoadById(std::int64_t Id) {
    if (FFoundEpoch != FConnection->ReadEpoch()) {
        FFound.clear();
        FFoundEpoch = FConnection->ReadEpoch();
    }
    const auto Known = FFound.find(Id);
    if (Known != FFound.end()) {
        FRow = Known->second;
        MakeCurrent();
        return true;
    }
    TStatement& Query = Prepared(qRowById);
    Query.BindInteger(1, Id);
    if (!LoadRow(Query))
        return false;
    FFound.emplace(Id, FRow);
    return true;
}

bool TSqlTable::ReadAhead(TStatement& Query) {
    TResetOnExit Reset(Query);
    // Read whole before anything changes, so a failure part-way leaves the cursor as it was.
    std::vector<TFieldValue> Rows;
    while (Query.Step()) {
        Rows.resize(Rows.size() + FDef.Columns.size());
        ReadValues(Query, FDef, Rows.end() - static_cast<std::ptrdiff_t>(FDef.Columns.size()));
    }
    FAhead.swap(Rows);
    FAheadNext = 0;
    return !FAhead.empty();
}

bool TSqlTable::ReadAheadAfter(std::int64_t Id) {
    TStatement& Query = Prepared(qRowsAfter);
    Query.BindInteger(1, Id);
    return ReadAhead(Query);
}

bool TSqlTable::TakeAhead() {
    if (FAheadNext == FAhead.size())
        return false;
    for (TFieldValue& Value : FRow)
        Value = std::move(FAhead[FAheadNext++]);
    FHasRow = true;
    FEof = false;
    return true;
}

void TSqlTable::Refresh() {
    CheckActive();
    FConnection->NewReadEpoch();
    First();
}

int TSqlTable::RecordCount() const {
    CheckActive();
    TStatement& Query = Prepared(qCount);
    TResetOnExit Reset(Query);
    Query.Step();
    return static_cast<int>(Query.ColumnInteger(0));
}

void TSqlTable::First() {
    CheckBrowseMode();
    if (!ReadAhead(Prepared(qFirstRows)) || !TakeAhead())
        ClearRow();
}

void TSqlTable::Next() {
    CheckBrowseMode();
    if (!FHasRow)
        FEof = true;
    else if (!TakeAhead() && !(ReadAheadAfter(FRow[0].Integer) && TakeAhead()))
        FEof = true;
}

bool TSqlTable::Locate(const std::string& FieldName, const std::string& Value) {
    CheckBrowseMode();
    TField& Field = FieldByName(FieldName); // raises for an unknown column
    const int Col = FindColumn(FDef, FieldName);
    const TColumnDef& C = FDef.Columns[static_cast<std::size_t>(Col)];
    if (C.Type == TColumnType::ctText) {
        TStatement& Query = LocateQuery(Col);
        Query.BindText(1, Value);
        return LoadRow(Query);
    }
    std::int64_t N = 0;
    bool B = false;
    if (C.Type == TColumnType::ctBoolean && ParseBoolean(Value, B))
        return Locate(Field.FieldName(), B ? 1 : 0);
    if (!ParseInteger(Value, N))
        return false;
    return Locate(Field.FieldName(), static_cast<int>(N));
}

bool TSqlTable::Locate(const std::string& FieldName, int Value) {
    CheckBrowseMode();
    const int Col = FindColumn(FDef, FieldName);
    if (Col < 0)
        FieldByName(FieldName); // raises
    const TColumnDef& C = FDef.Columns[static_cast<std::size_t>(Col)];
    if (C.Type == TColumnType::ctAutoNumber)
        return LoadById(Value);
    if (C.Type == TColumnType::ctText)
        return Locate(FieldName, std::to_string(Value));
    TStatement& Query = LocateQuery(Col);
    Query.BindInteger(1, Value);
    return LoadRow(Query);
}

void TSqlTable::Insert() {
    CheckBrowseMode();
    FSavedRow = FRow;
    FSavedHasRow = FHasRow;
    FSavedEof = FEof;
    for (std::size_t I = 0; I < FDef.Columns.size(); ++I) {
        const TColumnDef& C = FDef.Columns[I];
        const bool HasDefault =
            C.Type == TColumnType::ctInteger || C.Type == TColumnType::ctBoolean;
        FRow[I] = HasDefault ? IntegerValue(C.DefaultValue) : TFieldValue{};
    }
    FEof = false;
    FState = TDataSetState::dsInsert;
}

void TSqlTable::Edit() {
    CheckActive();
    if (FState != TDataSetState::dsBrowse)
        return;
    if (!FHasRow) {
        Insert();
        return;
    }
    FSavedRow = FRow;
    FSavedHasRow = FHasRow;
    FSavedEof = FEof;
    FState = TDataSetState::dsEdit;
}

void TSqlTable::BindValue(TStatement& Query, int Param, int Column) const {
    const TColumnDef& C = FDef.Columns[static_cast<std::size_t>(Column)];
    const TFieldValue& V = FRow[static_cast<std::size_t>(Column)];
    if (V.Null)
        Query.BindNull(Param);
    else if (C.Type == TColumnType::ctText)
        Query.BindText(Param, V.Text);
    else
        Query.BindInteger(Param, V.Integer);
}

void TSqlTable::PostInsert() {
    FConnection->NewReadEpoch();
    {
        TStatement& Query = Prepared(qInsert);
        TResetOnExit Reset(Query);
        for (std::size_t I = 1; I < FDef.Columns.size(); ++I)
            BindValue(Query, static_cast<int>(I), static_cast<int>(I));
        Query.Step();
    }
    FState = TDataSetState::dsBrowse;
    LoadById(FConnection->LastInsertId());
}

void TSqlTable::PostEdit() {
    FConnection->NewReadEpoch();
    {
        TStatement& Query = Prepared(qUpdate);
        TResetOnExit Reset(Query);
        for (std::size_t I = 1; I < FDef.Columns.size(); ++I)
            BindValue(Query, static_cast<int>(I), static_cast<int>(I));
        Query.BindInteger(static_cast<int>(FDef.Columns.size()), FRow[0].Integer);
        Query.Step();
    }
    if (FConnection->Changes() == 0) {
        Cancel();
        throw Exception(RowGoneMessage);
    }
    FState = TDataSetState::dsBrowse;
    if (!LoadById(FRow[0].Integer))
        First();
}

void TSqlTable::Post() {
    CheckActive();
    if (FState == TDataSetState::dsInsert)
        PostInsert();
    else if (FState == TDataSetState::dsEdit)
        PostEdit();
}

void TSqlTable::Cancel() {
    CheckActive();
    if (FState == TDataSetState::dsBrowse)
        return;
    FRow = FSavedRow;
    FHasRow = FSavedHasRow;
    FEof = FSavedEof;
    FState = TDataSetState::dsBrowse;
}

void TSqlTable::Delete() {
    CheckActive();
    if (FState == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (FState == TDataSetState::dsEdit)
        Cancel(); // the row goes anyway; saving its change first could only fail
    if (!FHasRow)
        throw Exception("La tabla " + FDef.Name + " no tiene un registro actual para borrar.");
    const std::int64_t Id = FRow[0].Integer;
    FConnection->NewReadEpoch();
    {
        TStatement& Query = Prepared(qDelete);
        TResetOnExit Reset(Query);
        Query.BindInteger(1, Id);
        Query.Step();
    }
    // The row after the deleted one becomes current, or the one before it at the end.
    if (ReadAheadAfter(Id) && TakeAhead())
        return;
    TStatement& Before = Prepared(qRowBefore);
    Before.BindInteger(1, Id);
    if (!LoadRow(Before))
        ClearRow();
}

TField& TSqlTable::FieldByName(const std::string& Name) {
    const int Col = FindColumn(FDef, Name);
    if (Col < 0)
        throw Exception("La tabla " + FDef.Name + " no tiene el campo " + Name + ".");
    return *FFields[static_cast<std::size_t>(Col)];
}
