// vantrel-xlsread <file.xls>: reads an .xls workbook and writes it to standard output for the
// program, which runs this in a process of its own (see IsolatedXlsFile).

#include "platform/workbook/isolatedxlsfile.h"

#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel-xlsread <file.xls>\n");
        return 2;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    return workbook::writeXlsWorkbook(QFile::decodeName(argv[1]), out);
}
