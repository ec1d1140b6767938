// Symbol markup for the host's SDK surface.
//
// PRYNDAL_SDK_API marks what the SDK library (pluginsdk) defines and exports: the wrapper
// operations. PRYNDAL_PLUGIN_BASE_API marks the plugin base class, which every plugin module
// compiles and exports itself; the module that carries it defines PRYNDAL_PLUGIN_BASE_EXPORTS.
#pragma once

#if defined(_WIN32)
#define PRYNDAL_EXPORT_ATTR __declspec(dllexport)
#define PRYNDAL_IMPORT_ATTR __declspec(dllimport)
#else
#define PRYNDAL_EXPORT_ATTR __attribute__((visibility("default")))
#define PRYNDAL_IMPORT_ATTR __attribute__((visibility("default")))
#endif

#if defined(PRYNDAL_SDK_BUILD)
#define PRYNDAL_SDK_API PRYNDAL_EXPORT_ATTR
#else
#define PRYNDAL_SDK_API PRYNDAL_IMPORT_ATTR
#endif

#if defined(PRYNDAL_PLUGIN_BASE_EXPORTS)
#define PRYNDAL_PLUGIN_BASE_API PRYNDAL_EXPORT_ATTR
#else
#define PRYNDAL_PLUGIN_BASE_API
#endif
