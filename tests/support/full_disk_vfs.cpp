#include "full_disk_vfs.h"

#include <sqlite3.h>

namespace qeltaro::test {

FullDisk::FullDisk(int writesAllowed)
    : allowed_(writesAllowed), steps_([this](FileStep step) {
          if (step != FileStep::Write || ++tried_ <= allowed_)
              return SQLITE_OK;
          refused_ = true;
          return SQLITE_FULL;
      })
{
}

}  // namespace qeltaro::test
