#pragma once

class QWidget;

// Puts the keyboard (Tab) order of a page's controls in the order its
// layouts show them: a box layout's items in turn, a grid's row by row and
// left to right within a row, a group's or other container's controls where
// the container stands. A page laid out as columns of groups is thus read
// group by group, top to bottom, column by column left to right; the order
// in which the page happened to create its controls no longer matters.
// The first laid-out control keeps its place in the window's order; the
// others follow it.
void orderTabsAsLaidOut(QWidget* page);
