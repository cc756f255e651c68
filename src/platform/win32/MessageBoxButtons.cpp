#include "MessageBoxButtons.h"

#include "velmora/Language.h"

namespace velmora::win32 {

MessageBoxButtons MessageBoxButtons::forType(UINT type) {
    const MessageBoxButton ok{IDOK, localized("OK")}, cancel{IDCANCEL, localized("Cancel")},
        abort{IDABORT, localized("Abort")}, retry{IDRETRY, localized("Retry")}, ignore{IDIGNORE, localized("Ignore")},
        yes{IDYES, localized("Yes")}, no{IDNO, localized("No")};

    MessageBoxButtons result;
    switch (type & MB_TYPEMASK) {
        case MB_OK: result.buttons = {ok}; result.escapeAnswer = IDOK; break;
        case MB_OKCANCEL: result.buttons = {ok, cancel}; result.escapeAnswer = IDCANCEL; break;
        case MB_ABORTRETRYIGNORE: result.buttons = {abort, retry, ignore}; break;
        case MB_YESNOCANCEL: result.buttons = {yes, no, cancel}; result.escapeAnswer = IDCANCEL; break;
        case MB_YESNO: result.buttons = {yes, no}; break;
        case MB_RETRYCANCEL: result.buttons = {retry, cancel}; result.escapeAnswer = IDCANCEL; break;
        default: return result;
    }
    int wanted = static_cast<int>((type & MB_DEFMASK) >> 8);
    result.defaultIndex = wanted < static_cast<int>(result.buttons.size()) ? wanted : 0;
    return result;
}

}  // namespace velmora::win32
