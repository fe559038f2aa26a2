#include "PhotoModule.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace photomodule {

namespace {

using MeasureFn = int (*)(const char*, double*, char*, int);

// The module beside the build's zelvors-solve, else where it is installed.
const char* const kModulePaths[] = {ZELVORS_PHOTO_MODULE_BUILT, ZELVORS_PHOTO_MODULE_INSTALLED};

MeasureFn Load(std::string& strError)
{
    static MeasureFn fn = nullptr;
    static std::string strFailure;
    if (fn || !strFailure.empty()) {
        strError = strFailure;
        return fn;
    }
    std::string strWhy;
    for (const char* pszPath : kModulePaths) {
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
    strFailure = std::string("the photo reader is not installed (") + ZELVORS_PHOTO_MODULE_INSTALLED + "): " + strWhy;
    strError = strFailure;
    return nullptr;
}

} // namespace

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
