#include "connections/RegistryReader.h"
#include "connections/OSVersion.h"
#include "connections/linux/NmcliDevices.h"

#include "adapters/linux/NetworkManager.h"
#include "base/TextUtils.h"
#include "base/linux/Process.h"

namespace {

// NetworkManager answers for the keys the discovery reads: one network class holding a key per
// device, whose Connection key names the device's connection profile.
const std::string RootKey = "\\SYSTEM\\CURRENTCONTROLSET\\CONTROL\\NETWORK";
const std::string ClassKey = "{4D36E972-E325-11CE-BFC1-08002BE10318}";

class TNetworkManagerRegistry : public TRegistryReader {
public:
    bool OpenKeyReadOnly(const std::string& Path) override {
        CloseKey();
        LoadDevices();
        if (!FRunning)
            return false;
        std::string P = UpperCaseAscii(Path);
        if (!P.empty() && P.back() == '\\')
            P.pop_back();
        if (P == RootKey)
            FOpen = Key::Root;
        else if (P == RootKey + "\\" + ClassKey)
            FOpen = Key::Class;
        else
            OpenConnectionKey(Path);
        return FOpen != Key::None;
    }

    std::vector<std::string> GetKeyNames() override {
        std::vector<std::string> Names;
        if (FOpen == Key::Root)
            Names.push_back(ClassKey);
        else if (FOpen == Key::Class)
            for (const auto& D : FDevices)
                Names.push_back(D.first);
        return Names;
    }

    std::string ReadString(const std::string& Name) override {
        if (FOpen != Key::Connection || UpperCaseAscii(Name) != "NAME")
            return {};
        return FDevices[FDevice].second;
    }

    void CloseKey() override { FOpen = Key::None; }

private:
    enum class Key { None, Root, Class, Connection };

    void LoadDevices() {
        if (FLoaded)
            return;
        FLoaded = true;
        if (!NetworkManagerRunning())
            return;
        const TProcessResult Run = RunProcess({"nmcli", "-t", "-f", "DEVICE,CONNECTION", "device"});
        FRunning = Run.ExitCode == 0;
        if (FRunning)
            FDevices = ParseNmcliDevices(Run.Output);
    }

    // Device names keep their letter case; the rest of the path is matched as the registry would.
    void OpenConnectionKey(const std::string& Path) {
        const std::string Prefix = RootKey + "\\" + ClassKey + "\\";
        const std::string Suffix = "\\CONNECTION";
        if (Path.size() <= Prefix.size() + Suffix.size() ||
            UpperCaseAscii(Path.substr(0, Prefix.size())) != Prefix ||
            UpperCaseAscii(Path.substr(Path.size() - Suffix.size())) != Suffix)
            return;
        const std::string Device =
            Path.substr(Prefix.size(), Path.size() - Prefix.size() - Suffix.size());
        for (std::size_t I = 0; I < FDevices.size(); ++I)
            if (FDevices[I].first == Device) {
                FOpen = Key::Connection;
                FDevice = I;
                return;
            }
    }

    bool FLoaded = false;
    bool FRunning = false;
    std::vector<std::pair<std::string, std::string>> FDevices;
    Key FOpen = Key::None;
    std::size_t FDevice = 0;
};

} // namespace

std::unique_ptr<TRegistryReader> CreateMachineRegistryReader() {
    return std::make_unique<TNetworkManagerRegistry>();
}

// The reader above serves the layout of current systems, so report one of them.
TOSVersionInfo GetPlatformVersionInfo() {
    TOSVersionInfo Info;
    Info.Available = true;
    Info.PlatformId = VER_PLATFORM_NT;
    Info.Major = 10;
    return Info;
}
