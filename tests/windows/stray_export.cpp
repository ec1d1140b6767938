// A module with the host's three entry names and one name more: the export check must reject it.
extern "C" {
__declspec(dllexport) void getPlugin() {}
__declspec(dllexport) void deleteMe() {}
__declspec(dllexport) extern const int exports;
const int exports = 95;
__declspec(dllexport) void strayHelper() {}
}
