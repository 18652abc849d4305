#pragma once

class QWidget;

// Gives every button of the main window's pages that has no hint of its own a hint saying what it does.
void addPageTooltips(QWidget* pages);
