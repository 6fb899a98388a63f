#pragma once
// Black-Scholes-Merton for European options on a stock with a continuous dividend yield, in single
// precision, with our own normal approximation, and an implied-volatility solver (scan, then
// bisection). Units: dollars, fractions per year, calendar days (T = days / 365).

#include "core/quotes/QuoteData.h"

// Cumulative normal distribution (Abramowitz and Stegun 26.2.16, with the constant 0.3327).
float NormalCdf(float x);
float CallValue(const ModelInputs& model);
float PutValue(const ModelInputs& model);
// Model value of a call or put, never below its ExerciseGain (which is negative out of the money,
// so unlike the intrinsic value of the screen it does not floor the value at 0).
float OptionValue(const ModelInputs& model, Side side);
// Leaves the volatility at which OptionValue meets `price` in model.ModelVolatility (0 for a
// price of 0 or less; near 3.3 when even 3.2 cannot reach the price). Throws ArithmeticFault
// when the model cannot be evaluated: stock price or strike not above 0, fewer than 1 day to
// expiry, or a model value that is not a finite number.
void SolveImpliedVolatility(ModelInputs& model, Side side, float price);
