/* Resource ids: imaging and visual effects. */
#pragma once
