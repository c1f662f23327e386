// Natively there is no system code page: the rules called without one walk
// single bytes, as on a Western system. Targets that test other code pages
// pass them in.
#include "app/code_page.h"

const CCodePage& AnsiCodePage()
{
    static const CCodePage codePage = CCodePage::SingleByte();
    return codePage;
}
