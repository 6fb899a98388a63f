#pragma once
// An arithmetic fault while one symbol is evaluated (a division by zero, an overflow). It ends that
// symbol's evaluation; the run controller catches it at its per-symbol boundary and goes on.

#include <stdexcept>

class ArithmeticFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
