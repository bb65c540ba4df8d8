/* Resource ids: presentation engine. */
#pragma once
