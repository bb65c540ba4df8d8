/* Resource ids: database and search. */
#pragma once
