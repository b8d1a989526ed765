#include "personnel/cpersonbase.h"

void CPersonBase::Reset()
{
    *this = CPersonBase();
}
