#include "ui/controls/resources.h"

#include <QtGlobal>

static void initOnce()
{
    Q_INIT_RESOURCE(vantrel);
}

void InitVantrelResources()
{
    static const bool done = (initOnce(), true);
    Q_UNUSED(done);
}
