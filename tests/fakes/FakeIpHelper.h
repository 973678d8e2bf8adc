#pragma once

#include "adapters/AdapterChain.h"
#include "adapters/IPHLPAPI.h"

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

// Serves synthetic adapters in place of the system's library for as long as it lives:
//   FakeIpHelper Fake;
//   Fake.Adapters.push_back(FakeIpHelper::Adapter("eth0", 7, {{"192.0.2.10", "255.255.255.0"}}));
//   AdapterManager()->RefreshAdapters();
// Only one may live at a time; it goes back to the system's loader when destroyed.
class FakeIpHelper {
public:
    std::vector<TAdapterDescription> Adapters;
    bool LibraryMissing = false;
    std::set<std::string> MissingNames;      // names the fake library does not export
    std::uint32_t SizeQueryAnswer = 0;       // 0: the real answer
    std::uint32_t FillAnswer = 0;            // 0: the real answer
    std::set<std::uint32_t> PerAdapterFails; // interface indexes whose query fails
    std::vector<std::string> Lookups;        // names asked for, in order
    int Loads = 0;
    int Frees = 0;

    FakeIpHelper() {
        Current() = this;
        SetIpHelperLoader(&Loader());
    }
    ~FakeIpHelper() {
        SetIpHelperLoader(nullptr);
        Current() = nullptr;
    }
    FakeIpHelper(const FakeIpHelper&) = delete;
    FakeIpHelper& operator=(const FakeIpHelper&) = delete;

    // Frees the fake library as the program's end would, so the next enumeration loads again.
    void Unload() { SetIpHelperLoader(&Loader()); }

    static TAdapterDescription Adapter(const std::string& Name, std::uint32_t Index,
                                       std::vector<TAdapterAddress> Addresses) {
        TAdapterDescription A;
        A.Name = Name;
        A.Description = Name + " adapter";
        A.Index = Index;
        A.Type = 6;
        A.HardwareAddress = {0x02, 0x00, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(Index)};
        A.Addresses = std::move(Addresses);
        return A;
    }

private:
    static FakeIpHelper*& Current() {
        static FakeIpHelper* Instance = nullptr;
        return Instance;
    }

    static std::uint32_t IPHLPAPI_CALL GetAdaptersInfo(IP_ADAPTER_INFO* Buffer,
                                                       std::uint32_t* Size) {
        FakeIpHelper& F = *Current();
        if (Buffer == nullptr && F.SizeQueryAnswer != 0)
            return F.SizeQueryAnswer;
        if (Buffer != nullptr && F.FillAnswer != 0)
            return F.FillAnswer;
        return WriteAdapterChain(F.Adapters, Buffer, Size);
    }

    static std::uint32_t IPHLPAPI_CALL GetPerAdapterInfo(std::uint32_t IfIndex,
                                                         IP_PER_ADAPTER_INFO* Buffer,
                                                         std::uint32_t* Size) {
        FakeIpHelper& F = *Current();
        if (F.PerAdapterFails.count(IfIndex) != 0)
            return 1168;
        for (const TAdapterDescription& A : F.Adapters)
            if (A.Index == IfIndex)
                return WritePerAdapterInfo(A, Buffer, Size);
        return 1168;
    }

    static std::uint32_t IPHLPAPI_CALL GetAdaptersAddresses(std::uint32_t, std::uint32_t, void*,
                                                            IP_ADAPTER_ADDRESSES* Buffer,
                                                            std::uint32_t* Size) {
        return WriteAdapterAddresses(Current()->Adapters, Buffer, Size);
    }

    static void* Load() {
        FakeIpHelper& F = *Current();
        ++F.Loads;
        return F.LibraryMissing ? nullptr : &F;
    }

    static TProcAddress Find(void*, const char* Name) {
        FakeIpHelper& F = *Current();
        F.Lookups.push_back(Name);
        if (F.MissingNames.count(Name) != 0)
            return nullptr;
        if (std::strcmp(Name, "GetAdaptersInfo") == 0)
            return reinterpret_cast<TProcAddress>(&FakeIpHelper::GetAdaptersInfo);
        if (std::strcmp(Name, "GetPerAdapterInfo") == 0)
            return reinterpret_cast<TProcAddress>(&FakeIpHelper::GetPerAdapterInfo);
        if (std::strcmp(Name, "GetAdaptersAddresses") == 0)
            return reinterpret_cast<TProcAddress>(&FakeIpHelper::GetAdaptersAddresses);
        return reinterpret_cast<TProcAddress>(&FakeIpHelper::Unused);
    }

    static void Free(void*) {
        if (Current() != nullptr)
            ++Current()->Frees;
    }

    static void Unused() {}

    static const TIpHelperLoader& Loader() {
        static const TIpHelperLoader Instance = {&FakeIpHelper::Load, &FakeIpHelper::Find,
                                                 &FakeIpHelper::Free};
        return Instance;
    }
};
