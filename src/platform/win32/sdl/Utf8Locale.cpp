#include "Utf8Locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <langinfo.h>
#endif

namespace velmora::win32 {

#ifdef _WIN32
// SDL's Windows boxes take UTF-8 whatever the C library's locale.
void useUtf8TextLocale() {}
#else

namespace {

bool environmentCtypeIsUtf8() {
    if (!std::setlocale(LC_CTYPE, "")) return false;
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

}  // namespace

void useUtf8TextLocale() {
    if (environmentCtypeIsUtf8()) return;

    // LC_ALL outranks LC_CTYPE; its value moves to LANG so the other categories keep it,
    // which they do only once their own variables, which LC_ALL outranked, are gone.
    if (const char* all = std::getenv("LC_ALL"); all && *all) {
        std::string value = all;
        setenv("LANG", value.c_str(), 1);
        unsetenv("LC_ALL");
        for (const char* category : {"LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME"})
            unsetenv(category);
    }
    setenv("LC_CTYPE", "C.UTF-8", 1);
    std::setlocale(LC_CTYPE, "");
}

#endif

}  // namespace velmora::win32
