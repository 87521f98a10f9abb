git init -q -b main
git add orders
git commit -qm initial
git checkout -q -b feature
mv state_only.py orders/migrations/0002_remove_order_legacy_code_state.py
git add orders
git commit -qm "state half only"
