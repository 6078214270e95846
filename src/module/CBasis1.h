// CBasis1: the library's module class. It holds nothing; it gives the
// module a class of its own name.
#pragma once

#include "platform/shared/Export.h"

class CBASIS1_API CBasis1 {
public:
    CBasis1();
    CBasis1(const CBasis1&);             // copies nothing
    CBasis1& operator=(const CBasis1&);  // copies nothing, returns *this
    virtual ~CBasis1();
};
