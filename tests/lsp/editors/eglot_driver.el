;;; eglot_driver.el --- drives Emacs and Eglot as an author would  -*- lexical-binding: t -*-
;; With the README's setup loaded: open the faulty file named by
;; SCENARIOGEN_FILE, wait for its diagnostics in Flymake, fix the fault with
;; the server's quick fix,
;; wait for the cleared list, ask for completion, rename a station and save,
;; shut the server down with
;; `eglot-shutdown', and write what was seen to SCENARIOGEN_RESULT.
(require 'json)
(require 'subr-x)
(require 'seq)

(defvar driver-patience 20 "Seconds to wait for the server.")

(defun driver-wait (predicate)
  "Run the command loop's hooks and timers until PREDICATE holds or patience ends."
  (let ((deadline (+ (float-time) driver-patience)))
    (while (and (not (funcall predicate)) (< (float-time) deadline))
      ;; Batch Emacs has no command loop: what it runs after each command.
      (run-hooks 'post-command-hook)
      (accept-process-output nil 0.05))
    (and (funcall predicate) t)))

(defun driver-diagnostic (d)
  (save-excursion
    (goto-char (flymake-diagnostic-beg d))
    (list (cons 'line (1- (line-number-at-pos)))
          (cons 'col (current-column))
          (cons 'message (flymake-diagnostic-text d)))))

(defun driver-fix (d)
  "Fix diagnostic D with the server's preferred quick fix at its place,
applied as Eglot applies a code action's edit; the action's title."
  (let* ((actions (eglot-code-actions (flymake-diagnostic-beg d) (flymake-diagnostic-end d) "quickfix"))
         (preferred (seq-find (lambda (a) (eq (plist-get a :isPreferred) t)) actions)))
    (when preferred
      (eglot--apply-workspace-edit (plist-get preferred :edit))
      ;; What Eglot's idle timer sends half a second later in an editor
      ;; that waits for keys; batch Emacs is never idle.
      (eglot--signal-textDocument/didChange)
      (plist-get preferred :title))))

(defun driver-completions (server)
  "The completion items at the start of the first signal line."
  (let* ((line (save-excursion
                 (goto-char (point-min))
                 (re-search-forward "^segnale")
                 (1- (line-number-at-pos))))
         (answer (jsonrpc-request server :textDocument/completion
                                  (list :textDocument (eglot--TextDocumentIdentifier)
                                        :position (list :line line :character 0))))
         (items (if (vectorp answer) answer (plist-get answer :items))))
    (mapcar (lambda (item)
              (list (cons 'label (plist-get item :label))
                    (cons 'format (or (plist-get item :insertTextFormat) 1))
                    (cons 'text (or (plist-get (plist-get item :textEdit) :newText)
                                    (plist-get item :label)))))
            items)))

;; Eglot 1.9 ends the server's process as soon as it has sent `exit'; give
;; the server the moment it needs to end by itself.
(advice-add 'jsonrpc-shutdown :before
            (lambda (connection &rest _)
              (let ((process (jsonrpc--process connection)) (deadline (+ (float-time) 5)))
                (while (and (process-live-p process) (< (float-time) deadline))
                  (accept-process-output process 0.05)))))

(let ((seen '()))
  (find-file (getenv "SCENARIOGEN_FILE"))
  (push (cons 'mode (symbol-name major-mode)) seen)
  (push (cons 'coding (symbol-name buffer-file-coding-system)) seen)
  (let ((raised (driver-wait (lambda () (flymake-diagnostics)))))
    (push (cons 'raised raised) seen)
    (push (cons 'diagnostics (mapcar #'driver-diagnostic (flymake-diagnostics))) seen)
    (when raised
      (push (cons 'fix (driver-fix (car (flymake-diagnostics)))) seen)
      (push (cons 'cleared (driver-wait (lambda () (null (flymake-diagnostics))))) seen)))
  (let ((server (eglot-current-server)))
    (push (cons 'completions (driver-completions server)) seen)
    ;; The second station renamed with `eglot-rename', the point on its name; then the file is saved.
    (goto-char (point-min))
    (re-search-forward "^stazione.*\\(LUVERA\\)")
    (goto-char (match-beginning 1))
    (eglot-rename "LUVERA CENTRALE")
    (push (cons 'renamed (and (save-excursion (goto-char (point-min)) (search-forward "LUVERA CENTRALE" nil t)) t))
          seen)
    (save-buffer)
    (eglot-shutdown server nil nil t)  ; keeping its buffers, to read the server's stderr
    (push (cons 'stderr (with-current-buffer (jsonrpc-stderr-buffer server) (buffer-string))) seen))
  (with-temp-file (getenv "SCENARIOGEN_RESULT")
    (insert (json-encode seen)))
  (kill-emacs 0))
