#include "app/ui/application.h"
#include "app/ui/dialogs.h"
#include "app/ui/tform1.h"
#include "exam/random.h"

int main(int argc, char** argv)
{
    tovek::ui::Application app(argc, argv);
    tovek::ui::DesktopDialogs dialogs;
    app.setDialogs(&dialogs);
    // Every run draws differently: the random activation and the exams share this generator.
    tovek::processRandom().seedFromDevice();
    tovek::ui::TForm1 form1(dialogs);
    form1.show();
    return app.exec();
}
