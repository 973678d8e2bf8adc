#pragma once

#include <string>
#include <utility>
#include <vector>

// A JSON value: enough of the format for the console program's output and its export files.
// Numbers are kept as doubles (every integer the program writes fits one exactly); objects keep
// their members in the order they were added or read.
class TJson {
public:
    enum class TKind { Null, Boolean, Number, String, Array, Object };
    using TMember = std::pair<std::string, TJson>;

    TJson() = default;
    TJson(bool Value) : FKind(TKind::Boolean), FBoolean(Value) {}
    TJson(int Value) : FKind(TKind::Number), FNumber(Value) {}
    TJson(double Value) : FKind(TKind::Number), FNumber(Value) {}
    TJson(std::string Value) : FKind(TKind::String), FString(std::move(Value)) {}
    TJson(const char* Value) : TJson(std::string(Value)) {}
    static TJson Array() { return TJson(TKind::Array); }
    static TJson Object() { return TJson(TKind::Object); }

    TKind Kind() const { return FKind; }
    bool AsBoolean() const { return FBoolean; }
    double AsNumber() const { return FNumber; }
    const std::string& AsString() const { return FString; }
    const std::vector<TJson>& Items() const { return FItems; }
    const std::vector<TMember>& Members() const { return FMembers; }

    // The member of that name, or null when there is none.
    const TJson* Find(const std::string& Name) const;

    TJson& Add(TJson Item); // to an array
    TJson& Set(const std::string& Name,
               TJson Value); // to an object; replaces a member of that name

    // The text of the value: two blanks of indent per level, one member or item a line, no line
    // break at the end.
    std::string Write() const;

private:
    explicit TJson(TKind Kind) : FKind(Kind) {}
    void WriteTo(std::string& Out, int Level) const;

    TKind FKind = TKind::Null;
    bool FBoolean = false;
    double FNumber = 0;
    std::string FString;
    std::vector<TJson> FItems;
    std::vector<TMember> FMembers;
};

// Reads one JSON document. Raises Exception with the line and column of the first fault; a
// member name given twice, text that is not UTF-8 and nesting deeper than 64 levels are faults.
TJson ParseJson(const std::string& Text);

// Text as a JSON string, quotes included, with every control character escaped: how a message
// shows a text read from a file, which may hold anything.
std::string JsonText(const std::string& Text);
