#pragma once

#include "base/TextUtils.h"
#include "shell/SettingsStore.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

// The user's settings in memory, in place of the platform's store while it lives. Values are
// kept by key path and name (names ignore letter case, as the registry's do) and spelled as
// tests write them: "(none)" for an absent value, "(not a string)" for one of another type.
// Every key exists.
class FakeSettings {
public:
    FakeSettings() : FSaved(SettingsKeyOpener) {
        SettingsKeyOpener = [this](const std::string& Path, bool) {
            return std::unique_ptr<TSettingsKey>(std::make_unique<Key>(*this, Path));
        };
    }
    ~FakeSettings() { SettingsKeyOpener = FSaved; }
    FakeSettings(const FakeSettings&) = delete;
    FakeSettings& operator=(const FakeSettings&) = delete;

    void Set(const std::string& Path, const std::string& Name, const std::string& Value) {
        FValues[Path + "\\" + UpperCaseAscii(Name)] = Value;
    }
    std::string Value(const std::string& Path, const std::string& Name) const {
        const auto It = FValues.find(Path + "\\" + UpperCaseAscii(Name));
        return It == FValues.end() ? "(none)" : It->second;
    }

    // Value names whose writes the store refuses.
    std::set<std::string> Refused;

private:
    class Key : public TSettingsKey {
    public:
        Key(FakeSettings& Owner, std::string Path) : FOwner(Owner), FPath(std::move(Path)) {}
        TValueRead ReadString(const std::string& Name, std::string& Value) override {
            const std::string Stored = FOwner.Value(FPath, Name);
            if (Stored == "(none)" || Stored == "(not a string)")
                return Stored == "(none)" ? TValueRead::Missing : TValueRead::NotAString;
            Value = Stored;
            return TValueRead::Found;
        }
        bool WriteString(const std::string& Name, const std::string& Value) override {
            if (FOwner.Refused.count(Name) != 0)
                return false;
            FOwner.Set(FPath, Name, Value);
            return true;
        }
        void DeleteValue(const std::string& Name) override { FOwner.Set(FPath, Name, "(none)"); }

    private:
        FakeSettings& FOwner;
        std::string FPath;
    };

    std::function<std::unique_ptr<TSettingsKey>(const std::string&, bool)> FSaved;
    std::map<std::string, std::string> FValues;
};
