#include "file_steps_vfs.h"

#include <sqlite3.h>

namespace qeltaro::test {
namespace {

constexpr const char* kName = "qeltaro-file-steps";

std::function<int(FileStep)> beforeStep;

sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs shimVfs;

int allow(FileStep step)
{
    return beforeStep ? beforeStep(step) : SQLITE_OK;
}

// The shim's file: its own header, the real file right behind it.
struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* realOf(sqlite3_file* file)
{
    return reinterpret_cast<ShimFile*>(file)->real;
}

int shimClose(sqlite3_file* f)
{
    sqlite3_file* real = realOf(f);
    return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}
int shimRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
}
int shimWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (const int rc = allow(FileStep::Write); rc != SQLITE_OK)
        return rc;
    return realOf(f)->pMethods->xWrite(realOf(f), buffer, amount, offset);
}
int shimTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (const int rc = allow(FileStep::Truncate); rc != SQLITE_OK)
        return rc;
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int shimSync(sqlite3_file* f, int flags) { return realOf(f)->pMethods->xSync(realOf(f), flags); }
int shimFileSize(sqlite3_file* f, sqlite3_int64* size) { return realOf(f)->pMethods->xFileSize(realOf(f), size); }
int shimLock(sqlite3_file* f, int level) { return realOf(f)->pMethods->xLock(realOf(f), level); }
int shimUnlock(sqlite3_file* f, int level) { return realOf(f)->pMethods->xUnlock(realOf(f), level); }
int shimCheckReservedLock(sqlite3_file* f, int* out) { return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out); }
int shimFileControl(sqlite3_file* f, int op, void* arg) { return realOf(f)->pMethods->xFileControl(realOf(f), op, arg); }
int shimSectorSize(sqlite3_file* f) { return realOf(f)->pMethods->xSectorSize(realOf(f)); }
int shimDeviceCharacteristics(sqlite3_file* f) { return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f)); }
int shimShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
{
    return realOf(f)->pMethods->xShmMap(realOf(f), region, size, extend, out);
}
int shimShmLock(sqlite3_file* f, int offset, int n, int flags) { return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags); }
void shimShmBarrier(sqlite3_file* f) { realOf(f)->pMethods->xShmBarrier(realOf(f)); }
int shimShmUnmap(sqlite3_file* f, int deleteFlag) { return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag); }

const sqlite3_io_methods shimMethods = {
    2,
    shimClose, shimRead, shimWrite, shimTruncate, shimSync, shimFileSize, shimLock, shimUnlock,
    shimCheckReservedLock, shimFileControl, shimSectorSize, shimDeviceCharacteristics,
    shimShmMap, shimShmLock, shimShmBarrier, shimShmUnmap,
    nullptr, nullptr,
};

int shimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->base.pMethods = nullptr;
    if (flags & SQLITE_OPEN_CREATE) {
        if (const int rc = allow(FileStep::Create); rc != SQLITE_OK)
            return rc;
    }
    const int rc = realVfs->xOpen(realVfs, name, shim->real, flags, outFlags);
    if (shim->real->pMethods)
        shim->base.pMethods = &shimMethods;
    return rc;
}

int shimDelete(sqlite3_vfs*, const char* name, int syncDirectory)
{
    if (const int rc = allow(FileStep::Delete); rc != SQLITE_OK)
        return rc;
    return realVfs->xDelete(realVfs, name, syncDirectory);
}

}  // namespace

FileSteps::FileSteps(std::function<int(FileStep)> before)
{
    beforeStep = std::move(before);
    if (!realVfs) {
        realVfs = sqlite3_vfs_find(nullptr);
        shimVfs = *realVfs;
        shimVfs.szOsFile = int(sizeof(ShimFile)) + realVfs->szOsFile;
        shimVfs.zName = kName;
        shimVfs.pNext = nullptr;
        shimVfs.xOpen = shimOpen;
        shimVfs.xDelete = shimDelete;
    }
    sqlite3_vfs_register(&shimVfs, 1);
}

FileSteps::~FileSteps()
{
    sqlite3_vfs_unregister(&shimVfs);
    beforeStep = nullptr;
}

}  // namespace qeltaro::test
