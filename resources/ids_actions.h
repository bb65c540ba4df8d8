/* Resource ids: actions, installation and printing. */
#pragma once
