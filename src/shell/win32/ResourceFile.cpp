#include "shell/win32/ResourceFile.h"

#include "base/Exception.h"
#include "base/win32/WideText.h"
#include "shell/Provisioning.h"

#include <windows.h>

bool SaveResourceToFile(const std::string& ResType, const std::string& ResName,
                        const std::string& FileName) {
    const HMODULE Module = GetModuleHandleW(nullptr);
    const HRSRC Info = FindResourceW(Module, ToWide(ResName).c_str(), ToWide(ResType).c_str());
    const HGLOBAL Data = Info ? LoadResource(Module, Info) : nullptr;
    const void* Bytes = Data ? LockResource(Data) : nullptr;
    if (Bytes == nullptr)
        throw Exception("Resource " + ResName + " not found");
    return ProvisionFile(
        FileName, std::string(static_cast<const char*>(Bytes), SizeofResource(Module, Info)));
}
