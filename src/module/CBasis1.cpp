#include "module/CBasis1.h"

CBasis1::CBasis1() = default;

CBasis1::CBasis1(const CBasis1&) {}

CBasis1& CBasis1::operator=(const CBasis1&) { return *this; }

CBasis1::~CBasis1() = default;
