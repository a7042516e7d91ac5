#pragma once

#include <QStringList>

// The country names the options dialog lists before anything is loaded, in alphabetical order.
const QStringList &BuiltInCountries();
