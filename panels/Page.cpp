#include "Page.h"

Page::Page(PageContext context, QWidget* parent) : QWidget(parent), m_context(context) {}
