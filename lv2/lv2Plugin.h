// What the LV2 user interface needs of the plug-in living in the same
// shared object.
#pragma once

class Analyzer;

// The analyzer of a plug-in instance the host handed over (instance-access);
// null for none.
Analyzer* analyzerOfInstance(void* handle);
