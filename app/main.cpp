#include <QApplication>

#include "analysis/session_state.h"
#include "forms/start_up.h"
#include "report/print_sequence.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    trelvane::stdGeneral session;
    trelvane::Main(session, trelvane::makePrintSequence(session));
    return app.exec();
}
