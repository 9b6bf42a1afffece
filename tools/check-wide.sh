#!/usr/bin/env bash
# Fails when a file under src/ or plugins/ calls an ANSI (A) system function that takes or gives
# back text, unless the call is allowed below with its reason. Text in the suite is UTF-8; GDI, USER,
# the shell and the common dialogs read A strings in the ANSI code page whatever the process's, so
# text goes through Wide()/FromWide() and the W function.
# A window-creating call whose title is a fixed printable-ASCII literal needs no entry: such text
# means the same in every code page. Usage: check-wide.sh [root]
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

calls='DrawTextA|DrawTextExA|TextOutA|ExtTextOutA|TabbedTextOutA|PolyTextOutA|GetTextExtentPoint32A|GetTextExtentPointA|GetTextExtentExPointA|SetWindowTextA|GetWindowTextA|GetWindowTextLengthA|MessageBoxA|MessageBoxExA|MessageBoxIndirectA|CreateFontIndirectA|CreateFontA|Shell_NotifyIconA|GetOpenFileNameA|GetSaveFileNameA|DragQueryFileA|AppendMenuA|InsertMenuA|InsertMenuItemA|ModifyMenuA|SetMenuItemInfoA|GetMenuStringA|OutputDebugStringA|TTM_ADDTOOLA|TTM_UPDATETIPTEXTA|TTM_SETTITLEA|SendMessageA|SendDlgItemMessageA|SetDlgItemTextA|GetDlgItemTextA|CreateWindowExA|CreateWindowA|SHBrowseForFolderA|SHGetPathFromIDListA|LOGFONTA|NOTIFYICONDATAA|OPENFILENAMEA'

# Allowed calls: file (from the root), call, a piece of the line that identifies it, and the reason.
allowed=(
  "src/ui/Window.cpp|CreateWindowExA|CreateWindowExA(exStyle, className_, title|ANSI classes only: their callers pass a class name or another fixed ASCII title; a window whose title is the user's text is of a unicode class (CreateWindowExW)"
)

bad=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  number=${rest%%:*}
  line=${rest#*:}
  code=${line%%//*}  # a call named in a comment is no call
  rel=${file#"$root"/}
  while IFS= read -r call; do
    [ -n "$call" ] || continue
    if [[ $call == CreateWindow*A ]] &&
       grep -qE "$call\(([^,]*,){2}[[:space:]]*\"[ -~]*\"[[:space:]]*," <<<"$code"; then
      continue  # a fixed ASCII title
    fi
    ok=0
    for entry in "${allowed[@]}"; do
      IFS='|' read -r afile acall apiece _ <<<"$entry"
      if [ "$afile" = "$rel" ] && [ "$acall" = "$call" ] && [[ $code == *"$apiece"* ]]; then ok=1; break; fi
    done
    if [ "$ok" -eq 0 ]; then
      echo "wide: $rel:$number uses $call: text in the ANSI code page"
      bad=$((bad + 1))
    fi
  done < <(grep -oE "\\b($calls)\\b" <<<"$code" | sort -u)
done < <(find "$root/src" "$root/plugins" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) -print0 | sort -z |
         xargs -0 grep -nHE "\\b($calls)\\b")

if [ "$bad" -gt 0 ]; then
  echo "wide: $bad ANSI text call(s) outside the allow list"
  exit 1
fi
echo "wide: every text call outside the allow list is a W call (${#allowed[@]} allowed)"
