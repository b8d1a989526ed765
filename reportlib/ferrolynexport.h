#pragma once

#include <QtGlobal>

#if defined(FERROLYN_BUILDING)
#    define FERROLYN_EXPORT Q_DECL_EXPORT
#else
#    define FERROLYN_EXPORT Q_DECL_IMPORT
#endif
