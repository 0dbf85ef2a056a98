// The INI rules of "config.ini" on arbitrary text: reading the four keys,
// writing them, and reading back what was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    IniDocument ini = IniDocument::Parse(text);
    ini.ReadString("mydata", "skinfile", "");
    int32_t skip = ini.ReadInteger("mydata", "mySkipzs", 8);
    ini.ReadInteger("mydata", "AutoSkip", 0);
    ParseIniInteger(text.substr(0, 32));

    ini.WriteInteger("mydata", "mySkipzs", skip);
    ini.WriteString("mydata", "skinfile", "blue.fac");
    IniDocument again = IniDocument::Parse(ini.Serialize());
    if (again.ReadString("mydata", "skinfile", "") != "blue.fac") std::abort();
    if (again.ReadInteger("mydata", "mySkipzs", 8) != skip) std::abort();
    return 0;
}
