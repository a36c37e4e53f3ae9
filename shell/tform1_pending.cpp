// TEMPORARY stubs for handlers whose modules are not in yet.
#include "shell/tform1.h"
#include "customers/tflist.h"
#include <QRadioButton>
void TForm1::ReadWindowPos() { move(20, 10); }
void TForm1::ReadBoxLayout(int) {}
bool TForm1::WriteWindowPos() { return true; }
bool TForm1::WriteBoxLayout(int) { return true; }
bool TForm1::commitSettings() { return true; }
bool TForm1::LoadBoxTexts() { return true; }
bool TForm1::LoadBoxText(int) { return true; }
bool TForm1::SaveBoxTexts() { return true; }
void TForm1::LoadForMode() {}
void TForm1::LoadTextList() {}
bool TForm1::IsFileInUse(const QString &) { return false; }
void TForm1::OpenMergeWorkbook() {}
void TForm1::RadioButton1Click(QRadioButton *) {}
void TForm1::RadioGroup1Click() {}
void TForm1::ListBox1Click() {}
void TForm1::spb5MouseUp() {}
void TForm1::Timer1Timer() {}
void TForm1::PrintPage() {}
TFList::TFList(TForm1 &form) : m_form(form) {}
void TFList::Button1Click() {}
void TFList::Button2Click() {}
