#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << QCoreApplication::translate("main",
                                                       "Vantrel: the main window is not built yet.")
                        << Qt::endl;
    return 0;
}
