#pragma once

#include "base/TextUtils.h"
#include "connections/RegistryReader.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// A machine hive in memory. Names compare without regard to ASCII letter case, as the registry's
// do, and every key opened is logged with the spelling it was asked for:
//   FakeRegistry Fake;
//   Fake.AddConnection("{CLASS}", "{ADAPTER}", "Wi-Fi");
//   Component.SetRegistryReaderFactory(Fake.Factory());
class FakeRegistry {
public:
    static constexpr const char* Root = "\\SYSTEM\\CurrentControlSet\\Control\\Network";

    // Keys that exist but refuse to open.
    std::set<std::string> Refused;
    // Paths opened successfully, in order.
    std::vector<std::string> Opened;
    bool KeyOpen = false;

    // Creates the key and its parents; the value is set unless Value is null.
    void AddKey(const std::string& Path, const char* ValueName = nullptr,
                const std::string& Value = {}) {
        std::string Prefix;
        for (const std::string& Part : Split(Path)) {
            Prefix += "\\" + Part;
            if (Find(Prefix) == nullptr)
                FKeys.push_back({Prefix, {}});
        }
        if (ValueName)
            Find(Path)->Values[UpperCaseAscii(ValueName)] = Value;
    }

    // The connection key of one adapter under one class, with its "Name" unless Name is null.
    void AddConnection(const std::string& Class, const std::string& Adapter, const char* Name) {
        const std::string Path = std::string(Root) + "\\" + Class + "\\" + Adapter + "\\Connection";
        if (Name)
            AddKey(Path, "Name", Name);
        else
            AddKey(Path);
    }

    std::function<std::unique_ptr<TRegistryReader>()> Factory() {
        return [this] { return std::make_unique<Reader>(*this); };
    }

private:
    struct Key {
        std::string Path;
        std::map<std::string, std::string> Values;
    };

    class Reader : public TRegistryReader {
    public:
        explicit Reader(FakeRegistry& AOwner) : FOwner(AOwner) {}
        bool OpenKeyReadOnly(const std::string& Path) override {
            CloseKey();
            FKey = FOwner.Find(Path);
            if (FKey && FOwner.Refused.count(FKey->Path))
                FKey = nullptr;
            if (FKey)
                FOwner.Opened.push_back(Path);
            FOwner.KeyOpen = FKey != nullptr;
            return FKey != nullptr;
        }
        std::vector<std::string> GetKeyNames() override {
            std::vector<std::string> Names;
            if (!FKey)
                return Names;
            const std::string Parent = UpperCaseAscii(FKey->Path) + "\\";
            for (const Key& K : FOwner.FKeys) {
                const std::string P = UpperCaseAscii(K.Path);
                if (P.compare(0, Parent.size(), Parent) == 0 &&
                    P.find('\\', Parent.size()) == std::string::npos)
                    Names.push_back(K.Path.substr(Parent.size()));
            }
            return Names;
        }
        std::string ReadString(const std::string& Name) override {
            if (!FKey)
                return {};
            const auto It = FKey->Values.find(UpperCaseAscii(Name));
            return It == FKey->Values.end() ? std::string() : It->second;
        }
        void CloseKey() override {
            FKey = nullptr;
            FOwner.KeyOpen = false;
        }

    private:
        FakeRegistry& FOwner;
        Key* FKey = nullptr;
    };

    static std::vector<std::string> Split(const std::string& Path) {
        std::vector<std::string> Parts;
        std::string Part;
        for (const char C : Path + "\\") {
            if (C != '\\') {
                Part += C;
            } else if (!Part.empty()) {
                Parts.push_back(Part);
                Part.clear();
            }
        }
        return Parts;
    }

    Key* Find(const std::string& Path) {
        std::string Wanted;
        for (const std::string& Part : Split(Path))
            Wanted += "\\" + UpperCaseAscii(Part);
        for (Key& K : FKeys)
            if (UpperCaseAscii(K.Path) == Wanted)
                return &K;
        return nullptr;
    }

    std::vector<Key> FKeys;
};
