#pragma once

#include "base/TextUtils.h"
#include "shell/SettingsStore.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

// The user's settings in memory, in place of the platform's store while it lives. Keys are named
// by path; a value that is nullopt exists but is not a string. Value names ignore letter case, as
// the registry's do.
class FakeSettings {
public:
    using TValues = std::map<std::string, std::optional<std::string>>;

    FakeSettings() : FSaved(SettingsKeyOpener) {
        Keys[RunKeyPath];
        SettingsKeyOpener = [this](const std::string& Path, bool CanCreate) {
            if (Keys.count(Path) == 0 && !CanCreate)
                return std::unique_ptr<TSettingsKey>();
            return std::unique_ptr<TSettingsKey>(std::make_unique<Key>(*this, Keys[Path]));
        };
    }
    ~FakeSettings() { SettingsKeyOpener = FSaved; }
    FakeSettings(const FakeSettings&) = delete;
    FakeSettings& operator=(const FakeSettings&) = delete;

    // Value names, in upper case, whose writes the store refuses.
    std::set<std::string> Refused;
    std::map<std::string, TValues> Keys;

    // Stores a value; "(none)" removes it, "(not a string)" makes it one of another type.
    void Set(const std::string& Path, const std::string& Name, const std::string& Value) {
        TValues& Values = Keys[Path];
        if (Value == "(none)")
            Values.erase(UpperCaseAscii(Name));
        else if (Value == "(not a string)")
            Values[UpperCaseAscii(Name)] = std::nullopt;
        else
            Values[UpperCaseAscii(Name)] = Value;
    }

    // The value as stored, spelled as Set takes it.
    std::string Value(const std::string& Path, const std::string& Name) const {
        const auto K = Keys.find(Path);
        if (K == Keys.end() || K->second.count(UpperCaseAscii(Name)) == 0)
            return "(none)";
        const auto& V = K->second.at(UpperCaseAscii(Name));
        return V ? *V : "(not a string)";
    }

private:
    class Key : public TSettingsKey {
    public:
        Key(FakeSettings& Owner, TValues& Values) : FOwner(Owner), FValues(Values) {}
        TValueRead ReadString(const std::string& Name, std::string& Value) override {
            const auto It = FValues.find(UpperCaseAscii(Name));
            if (It == FValues.end())
                return TValueRead::Missing;
            if (!It->second)
                return TValueRead::NotAString;
            Value = *It->second;
            return TValueRead::Found;
        }
        bool WriteString(const std::string& Name, const std::string& Value) override {
            if (FOwner.Refused.count(UpperCaseAscii(Name)) != 0)
                return false;
            FValues[UpperCaseAscii(Name)] = Value;
            return true;
        }
        void DeleteValue(const std::string& Name) override { FValues.erase(UpperCaseAscii(Name)); }

    private:
        FakeSettings& FOwner;
        TValues& FValues;
    };

    std::function<std::unique_ptr<TSettingsKey>(const std::string&, bool)> FSaved;
};
