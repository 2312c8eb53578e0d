#include <QApplication>

#include "analysis/session_state.h"
#include "forms/frm_input.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    trelvane::stdGeneral session;
    trelvane::Main(session);
    return app.exec();
}
