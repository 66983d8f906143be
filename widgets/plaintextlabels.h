#pragma once
// Texts that come from the meter (record names, readings, the model text)
// are shown exactly as they arrive: a record named "<b>x</b>" or
// "<img src=...>" must read as those characters, never turn into markup.

class QWidget;

// Makes `root`, when it is a label, and every label inside it show its text
// as plain text.
void showLabelsAsPlainText(QWidget *root);
