#include "platform/console_streams.h"

#include <fcntl.h>
#include <initializer_list>
#include <io.h>
#include <windows.h>

namespace kvalon {

void prepare_console_streams() {
    for (const int stream : {0, 1, 2}) {
        ::_setmode(stream, _O_BINARY);
    }
    ::SetConsoleOutputCP(CP_UTF8);
}

} // namespace kvalon
