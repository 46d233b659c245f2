// The module registry: program and library modules, their file names and the
// lookup of their embedded resources.
#include "Module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ModuleRegistry.h"

struct HMODULE__ {
    std::string name;
    std::string fileName;
    std::vector<win32::EmbeddedResource> resources;
};

namespace win32 {
namespace {

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// "/usr/lib/libContainers.so.1" -> "containers".
std::string BareModuleName(const std::string& name) {
    std::string bare = name.substr(name.find_last_of('/') + 1);
    if (bare.compare(0, 3, "lib") == 0 && bare.size() > 3) bare.erase(0, 3);
    const size_t dot = bare.find('.');
    if (dot != std::string::npos && dot > 0) bare.erase(dot);
    return LowerCase(bare);
}

std::string ProgramFileName() {
    std::vector<char> buffer(1024);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return std::string();
        if (size_t(length) < buffer.size()) return std::string(buffer.data(), size_t(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string FileNameOfAddress(const void* address) {
    Dl_info info;
    if (address && dladdr(address, &info) && info.dli_fname) return info.dli_fname;
    return std::string();
}

// A resource key: integer identifiers become "#<number>", strings are lower-cased.
std::string ResourceKey(LPCSTR nameOrId) {
    if (IS_INTRESOURCE(nameOrId)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(nameOrId));
    return LowerCase(nameOrId);
}

class Registry {
public:
    static Registry& Instance() {
        static Registry registry;
        return registry;
    }

    HMODULE Register(const char* name, bool isProgram, const EmbeddedResource* resources, size_t count,
                     const void* address) {
        std::lock_guard<std::mutex> lock(mutex_);
        HMODULE module = isProgram ? ProgramLocked() : FindLibraryLocked(BareModuleName(name));
        if (!module) {
            libraries_.push_back(std::make_unique<HMODULE__>());
            module = libraries_.back().get();
            module->name = BareModuleName(name);
            module->fileName = FileNameOfAddress(address);
        }
        if (module->resources.empty()) module->resources.assign(resources, resources + count);
        return module;
    }

    HMODULE Find(LPCSTR name) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!name) return ProgramLocked();
        const std::string bare = BareModuleName(name);
        if (bare == ProgramLocked()->name) return ProgramLocked();
        return FindLibraryLocked(bare);
    }

    bool IsKnown(HMODULE module) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (module == ProgramLocked()) return true;
        for (const auto& library : libraries_)
            if (library.get() == module) return true;
        return false;
    }

    const EmbeddedResource* FindResource(HMODULE module, const std::string& name, const std::string& type) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (module) return FindIn(module, name, type);
        if (const EmbeddedResource* found = FindIn(ProgramLocked(), name, type)) return found;
        for (const auto& library : libraries_)
            if (const EmbeddedResource* found = FindIn(library.get(), name, type)) return found;
        return nullptr;
    }

private:
    HMODULE ProgramLocked() {
        if (!program_) {
            program_ = std::make_unique<HMODULE__>();
            program_->fileName = ProgramFileName();
            program_->name = BareModuleName(program_->fileName);
        }
        return program_.get();
    }

    HMODULE FindLibraryLocked(const std::string& bare) {
        for (const auto& library : libraries_)
            if (library->name == bare) return library.get();
        return nullptr;
    }

    static const EmbeddedResource* FindIn(HMODULE module, const std::string& name, const std::string& type) {
        for (const EmbeddedResource& resource : module->resources)
            if (LowerCase(resource.name) == name && LowerCase(resource.type) == type) return &resource;
        return nullptr;
    }

    std::mutex mutex_;
    std::unique_ptr<HMODULE__> program_;
    std::vector<std::unique_ptr<HMODULE__>> libraries_;  // in load order
};

const EmbeddedResource* AsResource(const void* handle) { return static_cast<const EmbeddedResource*>(handle); }

}  // namespace

HMODULE RegisterModule(const char* moduleName, bool isProgram, const EmbeddedResource* resources, size_t count,
                       const void* addressInModule) {
    return Registry::Instance().Register(moduleName, isProgram, resources, count, addressInModule);
}

}  // namespace win32

HMODULE GetModuleHandleA(LPCSTR moduleName) { return win32::Registry::Instance().Find(moduleName); }

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (!module) module = GetModuleHandleA(nullptr);
    if (!win32::Registry::Instance().IsKnown(module) || !fileName || size == 0) return 0;
    const std::string& path = module->fileName;
    const size_t copied = std::min<size_t>(path.size(), size - 1);
    std::memcpy(fileName, path.data(), copied);
    fileName[copied] = '\0';
    return path.size() < size ? DWORD(copied) : size;
}

// A null module searches the program and then every library. The components'
// design resolves a null module to the program alone; that would leave a
// library's own tables unreachable when the host program does not carry them.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!name || !type) return nullptr;
    const win32::EmbeddedResource* found =
        win32::Registry::Instance().FindResource(module, win32::ResourceKey(name), win32::ResourceKey(type));
    return reinterpret_cast<HRSRC>(const_cast<win32::EmbeddedResource*>(found));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) { return resource; }

LPVOID LockResource(HGLOBAL resourceData) {
    return resourceData ? const_cast<unsigned char*>(win32::AsResource(resourceData)->data) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? DWORD(win32::AsResource(resource)->size) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }
