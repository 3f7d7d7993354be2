#pragma once
// A text image of every table of a store (schema and rows in rowid order), for tests that prove
// an operation changed nothing.

#include "store/store.h"

#include <QString>

namespace qeltaro::test {

QString storeSnapshot(Store& store);

}  // namespace qeltaro::test
