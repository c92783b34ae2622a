#!/usr/bin/env bash
# The arrows between the floors point down only, judged by the include lines:
#   core/ includes neither Qt nor gui/, app/ or web/;
#   gui/ and web/ include nothing of app/;
#   a page's folder gui/<page>/ includes no other page's folder (gui/widgets/ is for all).
# Usage: layering_check.sh SOURCE_DIR      prints each wrong include and fails if there is one
#        layering_check.sh --self-test     checks that a tree with wrong includes is caught
set -euo pipefail

# Prints "file:line: what" for every include line that breaks a rule, below $1.
violations() {
  local root=$1
  cd "$root"
  # An include line: `#include <X>` or `#include "X"`, perhaps with blanks after the '#'.
  local include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
  if [ -d core ]; then
    grep -rnE --include='*.cpp' --include='*.h' "$include<Q[A-Za-z]*(/|>)" core | sed 's/$/  (Qt in core)/' || true
    grep -rnE --include='*.cpp' --include='*.h' "$include\"(gui|app|web)/" core | sed 's/$/  (core looks up)/' || true
  fi
  for floor in gui web; do
    [ -d "$floor" ] || continue
    grep -rnE --include='*.cpp' --include='*.h' "$include\"app/" "$floor" | sed "s/\$/  ($floor looks up)/" || true
  done
  if [ -d gui ]; then
    local page
    for page in gui/*/; do
      page=${page%/}
      [ "$page" = gui/widgets ] && continue
      grep -rnE --include='*.cpp' --include='*.h' "$include\"gui/" "$page" \
        | grep -vE "\"($page|gui/widgets)/" | sed 's/$/  (another page)/' || true
    done
  fi
}

self_test() {
  local tree
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' RETURN
  mkdir -p "$tree/core/store" "$tree/gui/viewing" "$tree/gui/widgets" "$tree/gui/news" "$tree/app" "$tree/web"
  printf '#include "core/store/x.h"\n#include <string>\n#include <QString>\n' >"$tree/core/store/a.cpp"
  printf '#  include "gui/widgets/dialogs.h"\n#include <QtCore/QObject>\n' >"$tree/core/store/b.h"
  printf '#include "gui/widgets/dialogs.h"\n#include "gui/viewing/pane.h"\n#include "gui/news/news_page.h"\n' \
    >"$tree/gui/viewing/page.cpp"
  printf '#include "app/main_window.h"\n' >"$tree/gui/widgets/host.cpp"
  printf '#include "gui/news/browser_view.h"\n#include "app/x.h"\n' >"$tree/web/view.cpp"
  printf '#include "gui/news/news_page.h"\n#include "core/store/x.h"\n' >"$tree/app/main.cpp"
  local found
  found=$(violations "$tree" | sed 's/:.*(/ (/' | sort)
  local expected
  expected=$(printf '%s\n' \
    'core/store/a.cpp (Qt in core)' \
    'core/store/b.h (Qt in core)' \
    'core/store/b.h (core looks up)' \
    'gui/viewing/page.cpp (another page)' \
    'gui/widgets/host.cpp (gui looks up)' \
    'web/view.cpp (web looks up)' | sort)
  if [ "$found" != "$expected" ]; then
    echo "the layering check did not find what it should:"
    diff <(echo "$expected") <(echo "$found") || true
    return 1
  fi
  echo "the layering check catches every kind of wrong include"
}

if [ "${1:-}" = --self-test ]; then
  self_test
  exit
fi
found=$(violations "${1:?usage: layering_check.sh SOURCE_DIR | --self-test}")
if [ -n "$found" ]; then
  echo "$found"
  echo "These includes point up a floor or into another page (see the rules at the top of $0)."
  exit 1
fi
