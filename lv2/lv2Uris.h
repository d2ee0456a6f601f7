// The project's own URIs of the two LV2 plug-ins and their user interfaces;
// the plug-in descriptions in orvane.ttl use the same.
#pragma once

#include "analysis/displayScale.h"

#define ORVANE_LV2_PLUGIN_URI_BASE "https://brindlewick.org/plugins/orvane"

constexpr const char* kLv2PluginUri =
    kDisplayScale == 1 ? ORVANE_LV2_PLUGIN_URI_BASE : ORVANE_LV2_PLUGIN_URI_BASE "_x2";
constexpr const char* kLv2UiUri =
    kDisplayScale == 1 ? ORVANE_LV2_PLUGIN_URI_BASE "#ui" : ORVANE_LV2_PLUGIN_URI_BASE "_x2#ui";
