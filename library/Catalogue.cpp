#include "app/TForm1.h"

void TForm1::Reload_template_list() {}
