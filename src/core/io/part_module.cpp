#include "io/part_module.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace qeltaro {
namespace {

// The folders the program's own run path names, $ORIGIN expanded. dlopen searches the run path
// of the object that calls it; under the address sanitizer that caller is the sanitizer's
// runtime, which has none, so the program's folders are also tried by name.
std::vector<std::string> programLibraryFolders()
{
    void* program = dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size{};
    if (!program || dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0 || size.dls_size == 0)
        return {};
    std::vector<char> buffer(size.dls_size);
    auto* info = reinterpret_cast<Dl_serinfo*>(buffer.data());
    *info = size;
    if (dlinfo(program, RTLD_DI_SERINFO, info) != 0)
        return {};
    std::vector<std::string> folders;
    for (unsigned i = 0; i < info->dls_cnt; ++i)
        folders.emplace_back(info->dls_serpath[i].dls_name);
    return folders;
}

void* openModule(const std::string& file, std::string& error)
{
    if (void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL))
        return module;
    if (const char* reason = dlerror())
        error = reason;
    for (const std::string& folder : programLibraryFolders()) {
        if (void* module = dlopen((folder + '/' + file).c_str(), RTLD_NOW | RTLD_LOCAL))
            return module;
    }
    return nullptr;
}

}  // namespace

const void* loadPart(const char* name, QString* error)
{
    static std::mutex mutex;
    static std::map<std::string, const void*> loaded;
    std::lock_guard lock(mutex);
    if (auto it = loaded.find(name); it != loaded.end())
        return it->second;
    const std::string file = std::string("libqeltaro-") + name + ".so";
    // Never unloaded: the tables it hands out live as long as the process.
    std::string reason;
    void* module = openModule(file, reason);
    using Entry = const void* (*)();
    auto entry = module ? reinterpret_cast<Entry>(dlsym(module, "qeltaroPart")) : nullptr;
    if (!entry) {
        if (const char* missing = module ? dlerror() : nullptr)
            reason = missing;
        if (error)
            *error = QStringLiteral("无法载入程序组件 %1：%2").arg(QString::fromStdString(file), QString::fromLocal8Bit(reason.c_str()));
        return nullptr;
    }
    return loaded[name] = entry();
}

}  // namespace qeltaro
