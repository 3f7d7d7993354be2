#pragma once
// The quoted includes of the sources, for the tests that keep the folders' layering true.

#include <QString>

#include <vector>

namespace qeltaro::test {

struct SourceInclude {
    QString file;    // relative to the folder read, e.g. "domain/hit_rule.h"
    QString target;  // the quoted include, e.g. "domain/category.h"
};

// Every quoted include of the .h and .cpp files below `root`.
std::vector<SourceInclude> quotedIncludes(const QString& root);

}  // namespace qeltaro::test
