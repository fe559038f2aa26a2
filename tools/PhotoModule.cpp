#include "PhotoModule.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <vector>

namespace photomodule {

namespace {

using MeasureFn = int (*)(const char*, double*, char*, int);

// The folder of the running program, with a separator at the end; empty
// where it cannot be told.
std::string ProgramFolder()
{
    std::string strPath;
#ifdef _WIN32
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        strPath.assign(path, n);
    const size_t nSlash = strPath.find_last_of("\\/");
#else
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n > 0)
        strPath.assign(path, static_cast<size_t>(n));
    const size_t nSlash = strPath.rfind('/');
#endif
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash + 1);
}

// The module beside the build's zelvors-solve, else where it is installed:
// from the program's folder (any prefix), else in the configured prefix.
std::vector<std::string> ModulePaths()
{
    std::vector<std::string> paths = {ZELVORS_PHOTO_MODULE_BUILT};
    const std::string strFolder = ProgramFolder();
    if (!strFolder.empty())
        paths.push_back(strFolder + ZELVORS_PHOTO_MODULE_FROM_BIN);
    paths.push_back(ZELVORS_PHOTO_MODULE_INSTALLED);
    return paths;
}

MeasureFn Load(std::string& strError)
{
    static MeasureFn fn = nullptr;
    static std::string strFailure;
    if (fn || !strFailure.empty()) {
        strError = strFailure;
        return fn;
    }
    std::string strWhy;
    for (const std::string& strPath : ModulePaths()) {
        const char* pszPath = strPath.c_str();
#ifdef _WIN32
        HMODULE h = LoadLibraryA(pszPath);
        if (h)
            fn = reinterpret_cast<MeasureFn>(reinterpret_cast<void*>(GetProcAddress(h, "zelvors_measure_photo")));
        else
            strWhy = "cannot load it";
#else
        void* h = dlopen(pszPath, RTLD_NOW | RTLD_LOCAL);
        if (h)
            fn = reinterpret_cast<MeasureFn>(dlsym(h, "zelvors_measure_photo"));
        else if (const char* pszWhy = dlerror())
            strWhy = pszWhy;
#endif
        if (fn)
            return fn;
    }
    strFailure = "the photo reader is not installed: " + strWhy;
    strError = strFailure;
    return nullptr;
}

} // namespace

bool Available(std::string& strError) { return Load(strError) != nullptr; }

bool MeasurePhoto(const std::string& strPath, double rgb[27], std::string& strError)
{
    const MeasureFn fn = Load(strError);
    if (!fn)
        return false;
    char error[1024] = {};
    if (fn(strPath.c_str(), rgb, error, static_cast<int>(sizeof error)))
        return true;
    strError = error;
    return false;
}

} // namespace photomodule
