#include "io/html_text.h"

#include "io/web_part.h"

namespace qeltaro {

QString visibleText(const QString& html)
{
    // Pages are read after they were fetched, which loaded the part; should it still be missing,
    // a page shows no text.
    const WebPart* part = webPart();
    return part ? part->visibleText(html) : QString();
}

}  // namespace qeltaro
