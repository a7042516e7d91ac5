#pragma once

#include <QCollator>
#include <QLocale>
#include <QStringList>

// The country names the options dialog lists before anything is loaded, in alphabetical order.
const QStringList &BuiltInCountries();

// The order of the country lists, as a person of the locale reads them: letter case ignored,
// accents as the locale weighs them ("Åland Islands" after "Afghanistan" in English, after
// "Zimbabwe" in Swedish). The C locale, which has no language, sorts as English does.
QCollator CountryCollator(const QLocale &locale = QLocale::system());

// The names in that order; equal names keep their order.
QStringList SortedCountryNames(const QStringList &names, const QLocale &locale = QLocale::system());
