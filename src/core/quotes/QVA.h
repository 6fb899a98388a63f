#pragma once
// QVA: the weighted average implied volatility of the 12 options near the money, per side.

#include "core/settings/UserSettings.h"
#include "core/quotes/QuoteData.h"

// Solves, screens and averages the options of quote.Series (sides 0 and 1, strike positions 1..3,
// expirations 0 and 1) into quote.QVA, OptQVA and OptNote; builds missing option symbols. Reads
// InterestRate, DrvQVAfrom, AvgQVAusing and the option criteria from `settings`. Throws
// ArithmeticFault when a computation leaves the finite numbers.
void ComputeQVA(QuoteData& quote, const UserSettings& settings);
