#include <LegalBundle.h>

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << moduleBundle().path() << Qt::endl;
    return 0;
}
