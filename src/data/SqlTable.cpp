#include "data/SqlTable.h"

#include "base/Exception.h"
#include "base/TextUtils.h"
#include "data/DBConnection.h"

#include <climits>

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

void TSqlTable::ClearRow() {
    FRow.assign(FDef.Columns.size(), TFieldValue{});
    FHasRow = false;
    FEof = true;
}

bool TSqlTable::LoadRow(TStatement& Query) {
    if (!Query.Step())
        return false;
    for (std::size_t I = 0; I < FDef.Columns.size(); ++I) {
        const int Col = static_cast<int>(I);
        TFieldValue V;
        V.Null = Query.ColumnIsNull(Col);
        if (!V.Null) {
            if (FDef.Columns[I].Type == TColumnType::ctText)
                V.Text = Query.ColumnText(Col);
            else
                V.Integer = Query.ColumnInteger(Col);
        }
        FRow[I] = V;
    }
    FHasRow = true;
    FEof = false;
    return true;
}

bool TSqlTable::LoadById(std::int64_t Id) {
    TStatement Query(*FConnection, SelectSql("WHERE ID = ?"));
    Query.BindInteger(1, Id);
    return LoadRow(Query);
}

bool TSqlTable::LoadNeighbour(std::int64_t Id, bool After) {
    TStatement Query(*FConnection, SelectSql(After ? "WHERE ID > ? ORDER BY ID LIMIT 1"
                                                   : "WHERE ID < ? ORDER BY ID DESC LIMIT 1"));
    Query.BindInteger(1, Id);
    return LoadRow(Query);
}

void TSqlTable::Refresh() {
    First();
}

int TSqlTable::RecordCount() const {
    CheckActive();
    TStatement Query(*FConnection, "SELECT COUNT(*) FROM " + FDef.Name);
    Query.Step();
    return static_cast<int>(Query.ColumnInteger(0));
}

void TSqlTable::First() {
    CheckBrowseMode();
    TStatement Query(*FConnection, SelectSql("ORDER BY ID LIMIT 1"));
    if (!LoadRow(Query))
        ClearRow();
}

void TSqlTable::Next() {
    CheckBrowseMode();
    if (!FHasRow || !LoadNeighbour(FRow[0].Integer, true))
        FEof = true;
}

bool TSqlTable::Locate(const std::string& FieldName, const std::string& Value) {
    CheckBrowseMode();
    TField& Field = FieldByName(FieldName); // raises for an unknown column
    const int Col = FindColumn(FDef, FieldName);
    const TColumnDef& C = FDef.Columns[static_cast<std::size_t>(Col)];
    if (C.Type == TColumnType::ctText) {
        TStatement Query(*FConnection, SelectSql("WHERE " + C.Name + " = ? ORDER BY ID LIMIT 1"));
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
    TStatement Query(*FConnection, SelectSql("WHERE " + C.Name + " = ? ORDER BY ID LIMIT 1"));
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
    std::string Names, Marks;
    for (std::size_t I = 1; I < FDef.Columns.size(); ++I) {
        Names += (I > 1 ? ", " : "") + FDef.Columns[I].Name;
        Marks += I > 1 ? ", ?" : "?";
    }
    TStatement Query(*FConnection,
                     "INSERT INTO " + FDef.Name + " (" + Names + ") VALUES (" + Marks + ")");
    for (std::size_t I = 1; I < FDef.Columns.size(); ++I)
        BindValue(Query, static_cast<int>(I), static_cast<int>(I));
    Query.Step();
    TStatement LastId(*FConnection, "SELECT last_insert_rowid()");
    LastId.Step();
    FState = TDataSetState::dsBrowse;
    LoadById(LastId.ColumnInteger(0));
}

void TSqlTable::PostEdit() {
    std::string Sets;
    for (std::size_t I = 1; I < FDef.Columns.size(); ++I)
        Sets += (I > 1 ? ", " : "") + FDef.Columns[I].Name + " = ?";
    TStatement Query(*FConnection, "UPDATE " + FDef.Name + " SET " + Sets + " WHERE ID = ?");
    for (std::size_t I = 1; I < FDef.Columns.size(); ++I)
        BindValue(Query, static_cast<int>(I), static_cast<int>(I));
    Query.BindInteger(static_cast<int>(FDef.Columns.size()), FRow[0].Integer);
    Query.Step();
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
    TStatement Query(*FConnection, "DELETE FROM " + FDef.Name + " WHERE ID = ?");
    Query.BindInteger(1, Id);
    Query.Step();
    // The row after the deleted one becomes current, or the one before it at the end.
    if (!LoadNeighbour(Id, true) && !LoadNeighbour(Id, false))
        ClearRow();
}

TField& TSqlTable::FieldByName(const std::string& Name) {
    const int Col = FindColumn(FDef, Name);
    if (Col < 0)
        throw Exception("La tabla " + FDef.Name + " no tiene el campo " + Name + ".");
    return *FFields[static_cast<std::size_t>(Col)];
}
