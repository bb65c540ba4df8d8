/* Resource ids: slide show. */
#pragma once
