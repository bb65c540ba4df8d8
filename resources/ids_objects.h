/* Resource ids: page object kinds. */
#pragma once
/* Button. */
#define IDS_BUTTON_CAPTION      1038
