#include "app/forms_win.h"

ApplicationForms& Forms() {
    static ApplicationForms forms;
    return forms;
}
