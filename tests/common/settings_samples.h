#pragma once

#include "common/settings.h"

namespace korvo::test {

// Stores a value other than the default under every key and value of the
// settings layout, and checks that a store holds exactly those.
void StoreEverySetting(ISettingsStore& store);
void ExpectEverySetting(const ISettingsStore& store);

// Checks that a store gives every default of the settings layout.
void ExpectEveryDefault(const ISettingsStore& store);

} // namespace korvo::test
