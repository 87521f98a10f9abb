git init -q -b main
git add orders
git commit -qm initial
git checkout -q -b feature
mv state_only.py orders/migrations/0002_remove_order_legacy_code_state.py
mv db_only.py orders/migrations/0003_drop_order_legacy_code.py
git add orders
git commit -qm "two-step removal in one branch"
