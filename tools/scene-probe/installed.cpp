// scene-probe's look at the installed game: a program file's version and
// manifest, a shortcut's target, opening a file as the shell does, the
// program behind a window, and what Add/Remove Programs lists.
#include "installed.h"

#include <windows.h>

#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

int print_version(const char* file) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(file, &unused);
    if (!size) return 1;
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(file, 0, size, info.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return 1;
    std::printf("file_version %lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    std::printf("product_version %lu.%lu.%lu.%lu\n", fixed->dwProductVersionMS >> 16,
                fixed->dwProductVersionMS & 0xFFFF, fixed->dwProductVersionLS >> 16,
                fixed->dwProductVersionLS & 0xFFFF);
    WORD* translation = nullptr;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < 2 * sizeof(WORD))
        return 1;
    for (const char* name : {"FileDescription", "ProductName"}) {
        char path[96];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
        char* value = nullptr;
        if (VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &length) && value)
            std::printf("%s %s\n", name, value);
    }
    return 0;
}

int print_manifest(const char* file) {
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* text = loaded ? LockResource(loaded) : nullptr;
    if (text) std::fwrite(text, 1, SizeofResource(module, found), stdout);
    if (module) FreeLibrary(module);
    return text ? 0 : 1;
}

static std::wstring wide(const char* text) {
    wchar_t buffer[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, MAX_PATH);
    return buffer;
}

int print_shortcut(const char* file) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    char target[MAX_PATH] = "";
    bool read = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link))) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
                SUCCEEDED(persist->Load(wide(file).c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH));
    if (persist) persist->Release();
    if (link) link->Release();
    if (read) std::printf("%s\n", target);
    return read ? 0 : 1;
}

int open_file(const char* file) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", file, nullptr, nullptr, SW_SHOWNORMAL)) > 32 ? 0 : 1;
}

int print_owner(const char* title) {
    HWND window = FindWindowA(nullptr, title);
    DWORD pid = 0;
    if (window) GetWindowThreadProcessId(window, &pid);
    HANDLE process = pid ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid) : nullptr;
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    const bool found = process && QueryFullProcessImageNameA(process, 0, path, &size);
    if (process) CloseHandle(process);
    if (found) std::printf("%s\n", path);
    return found ? 0 : 1;
}

static std::string registry_text(HKEY key, const char* name) {
    char value[512] = "";
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return "";
    return value;
}

static std::string product_info(const char* code, const char* property) {
    char value[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    return MsiGetProductInfoA(code, property, value, &size) == ERROR_SUCCESS ? value : "";
}

int print_programs() {
    HKEY programs = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                      KEY_READ | KEY_WOW64_64KEY, &programs) == ERROR_SUCCESS) {
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(programs, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            HKEY entry = nullptr;
            if (RegOpenKeyExA(programs, name, 0, KEY_READ | KEY_WOW64_64KEY, &entry) != ERROR_SUCCESS) continue;
            std::printf("entry %s|%s|%s\n", registry_text(entry, "DisplayName").c_str(),
                        registry_text(entry, "DisplayVersion").c_str(), registry_text(entry, "Publisher").c_str());
            RegCloseKey(entry);
        }
        RegCloseKey(programs);
    }
    char code[39];
    for (DWORD i = 0; MsiEnumProductsA(i, code) == ERROR_SUCCESS; ++i) {
        const std::string icon = product_info(code, INSTALLPROPERTY_PRODUCTICON);
        const bool icon_found = !icon.empty() && GetFileAttributesA(icon.c_str()) != INVALID_FILE_ATTRIBUTES;
        std::printf("product %s|%s|%s|%s\n", product_info(code, INSTALLPROPERTY_INSTALLEDPRODUCTNAME).c_str(),
                    product_info(code, INSTALLPROPERTY_VERSIONSTRING).c_str(),
                    product_info(code, INSTALLPROPERTY_PUBLISHER).c_str(), icon_found ? "icon" : "-");
    }
    return 0;
}
