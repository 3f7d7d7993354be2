#pragma once
// A store as users keep one: draws of the sample history and formulas in several categories.

#include "store/store.h"

#include <QString>

#include <functional>

namespace qeltaro::test {

// A formula text file: `perCategory` kill statement lines for each of 3D, 5D and 2G, a header
// line, an unrecognised line, and every fifth formula of 3D written twice.
QString formulaFileText(int perCategory, int firstNumber = 1);

// The first `draws` draws of the sample history and formulaFileText(perCategory).
void fillLibrary(Store& store, int draws, int formulasPerCategory);

// A store in `folder` filled by fillLibrary, then changed by `setup` when given, and closed.
void createLibraryStore(const QString& folder, int draws, int formulasPerCategory,
                        const std::function<void(Store&)>& setup = {});

}  // namespace qeltaro::test
