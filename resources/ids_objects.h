/* Resource ids: page object kinds. */
#pragma once
