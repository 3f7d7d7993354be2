#pragma once
// The search's runs taken to their end on the test's own thread, with no progress report and no
// stop asked.

#include "search/scheme_run.h"
#include "search/search_run.h"
#include "search/smart_setting.h"

namespace qeltaro::test {

inline SearchOutcome runToEnd(const HistoryColumns& history, const SearchRequest& request)
{
    RunControl control;
    return runSearch(history, request, control);
}

inline SchemeOutcome runToEnd(const HistoryColumns& history, const SchemeRequest& request)
{
    RunControl control;
    return runScheme(history, request, control);
}

inline SmartSettingOutcome runToEnd(const HistoryColumns& history, const SmartSettingRequest& request)
{
    RunControl control;
    return runSmartSetting(history, request, control);
}

}  // namespace qeltaro::test
