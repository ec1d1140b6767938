// Symbol markup for the development host's own types in the SDK library: they leave pluginsdk
// the same way the wrapper operations do, so the host executable and the tests can reach them.
#pragma once

#include "host/sdk_api.h"

#define DEVHOST_SDK_API PRYNDAL_SDK_API
