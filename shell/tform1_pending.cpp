// TEMPORARY stubs for handlers whose modules are not in yet.
#include "shell/tform1.h"
#include "customers/tflist.h"
#include <QRadioButton>
void TForm1::spb5MouseUp() {}
void TForm1::Timer1Timer() {}
void TForm1::PrintPage() {}
