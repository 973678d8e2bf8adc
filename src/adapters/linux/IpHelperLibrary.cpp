#include "adapters/IPHLPAPI.h"

#include "adapters/linux/LinuxAdapters.h"
#include "base/TextUtils.h"

#include <cerrno>
#include <cstring>

namespace {

// The snapshot that answered the size query fills the buffer, so the chain fits the size given;
// it also answers the per-adapter queries that follow.
std::vector<TAdapterDescription>& Snapshot() {
    static std::vector<TAdapterDescription> Adapters;
    return Adapters;
}

std::uint32_t IPHLPAPI_CALL LinuxGetAdaptersInfo(IP_ADAPTER_INFO* Buffer, std::uint32_t* Size) {
    if (Size == nullptr)
        return 87; // ERROR_INVALID_PARAMETER
    if (Buffer == nullptr || Snapshot().empty())
        if (!ReadLinuxAdapters(Snapshot()))
            return 31; // ERROR_GEN_FAILURE, errno says why
    const std::uint32_t Result = WriteAdapterChain(Snapshot(), Buffer, Size);
    if (Result == ERROR_NO_DATA_CODE)
        errno = ENODEV;
    return Result;
}

std::uint32_t IPHLPAPI_CALL LinuxGetPerAdapterInfo(std::uint32_t IfIndex,
                                                   IP_PER_ADAPTER_INFO* Buffer,
                                                   std::uint32_t* Size) {
    if (Size == nullptr)
        return 87;
    for (const TAdapterDescription& A : Snapshot())
        if (A.Index == IfIndex)
            return WritePerAdapterInfo(A, Buffer, Size);
    return 1168; // ERROR_NOT_FOUND
}

// Called after GetAdaptersInfo in one enumeration, so it answers from the same snapshot.
std::uint32_t IPHLPAPI_CALL LinuxGetAdaptersAddresses(std::uint32_t, std::uint32_t, void*,
                                                      IP_ADAPTER_ADDRESSES* Buffer,
                                                      std::uint32_t* Size) {
    if (Size == nullptr)
        return 87;
    return WriteAdapterAddresses(Snapshot(), Buffer, Size);
}

// The back end is part of the program: there is nothing to load, only a handle to hand out.
int BuiltIn;

void* LoadBuiltIn() {
    return &BuiltIn;
}

TProcAddress FindEntry(void*, const char* Name) {
    if (std::strcmp(Name, "GetAdaptersInfo") == 0)
        return reinterpret_cast<TProcAddress>(&LinuxGetAdaptersInfo);
    if (std::strcmp(Name, "GetPerAdapterInfo") == 0)
        return reinterpret_cast<TProcAddress>(&LinuxGetPerAdapterInfo);
    if (std::strcmp(Name, "GetAdaptersAddresses") == 0)
        return reinterpret_cast<TProcAddress>(&LinuxGetAdaptersAddresses);
    return nullptr;
}

// Nothing to release; the snapshot may already be gone when the program ends.
void FreeBuiltIn(void*) {}

constexpr TIpHelperLoader SystemLoader = {LoadBuiltIn, FindEntry, FreeBuiltIn};

} // namespace

const TIpHelperLoader& SystemIpHelperLoader() {
    return SystemLoader;
}

std::u16string IpHelperTextToUtf16(const std::string& Text) {
    return Utf8ToUtf16(Text);
}

bool AdapterDnsIsStatic(const std::string& AdapterName) {
    for (const TAdapterDescription& A : Snapshot())
        if (A.Name == AdapterName)
            return A.StaticDns;
    return false;
}

bool AdapterIPv6DnsIsStatic(const std::string& AdapterName) {
    for (const TAdapterDescription& A : Snapshot())
        if (A.Name == AdapterName)
            return A.StaticIPv6Dns;
    return false;
}

unsigned IpHelperResultToOSError(std::uint32_t Result) {
    switch (Result) {
    case ERROR_NOT_SUPPORTED_CODE:
        return ENOTSUP;
    case ERROR_BUFFER_OVERFLOW_CODE:
        return ENOBUFS;
    case ERROR_NO_DATA_CODE:
        return ENODEV;
    default:
        return EIO;
    }
}
