#include "io/part_module.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

namespace qeltaro {

const void* loadPart(const char* name, QString* error)
{
    static std::mutex mutex;
    static std::map<std::string, const void*> loaded;
    std::lock_guard lock(mutex);
    if (auto it = loaded.find(name); it != loaded.end())
        return it->second;
    const std::string file = std::string("libqeltaro-") + name + ".so";
    // Never unloaded: the tables it hands out live as long as the process.
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    using Entry = const void* (*)();
    auto entry = module ? reinterpret_cast<Entry>(dlsym(module, "qeltaroPart")) : nullptr;
    if (!entry) {
        if (error)
            *error = QStringLiteral("无法载入程序组件 %1：%2").arg(QString::fromStdString(file), QString::fromLocal8Bit(dlerror()));
        return nullptr;
    }
    return loaded[name] = entry();
}

}  // namespace qeltaro
