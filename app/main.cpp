#include "app/ui/application.h"
#include "app/ui/dialogs.h"

int main(int argc, char** argv)
{
    tovek::ui::Application app(argc, argv);
    tovek::ui::DesktopDialogs dialogs;
    app.setDialogs(&dialogs);
    tovek::ui::applyRegionalFormats();
    return 0;
}
