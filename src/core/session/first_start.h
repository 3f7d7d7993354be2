#pragma once
// The first start: a store with no draws and no formulas is offered the bundled sample history
// and a few example formulas, once; the answer is remembered in the settings.

#include "common/result.h"

#include <QString>
#include <QStringList>

namespace qeltaro {

class Settings;
class Store;

// Whether to ask: the store is empty and the question was never answered.
Result<bool> shouldOfferSample(Store& store, Settings& settings);
void rememberSampleOffer(Settings& settings);

QString sampleOfferTitle();
QString sampleOfferQuestion();

// The example formulas, in the formula language; examples of how formulas are written, not advice.
const QStringList& exampleFormulaLines();

struct SampleLoad {
    int draws = 0;
    int formulas = 0;
};
// Imports the sample history file and the example formulas.
Result<SampleLoad> loadSample(Store& store, const QString& sampleHistoryPath);

}  // namespace qeltaro
