// The project menu bar: the page's menu items become the menu bar of the
// frame that holds the page window.
#pragma once
class TObjectManager;

// Detaches the frame's menu bar and, when the page has a menu, builds and
// attaches the page's; command ids from 100 in item order.
void BuildProjectMenuBar(TObjectManager* manager);
