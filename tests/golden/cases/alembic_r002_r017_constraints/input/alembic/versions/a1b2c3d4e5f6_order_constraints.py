"""order constraints

Revision ID: a1b2c3d4e5f6
Revises: 0f1e2d3c4b5a
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "a1b2c3d4e5f6"
down_revision: Union[str, None] = "0f1e2d3c4b5a"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None


def upgrade() -> None:
    op.create_unique_constraint("uq_orders_number", "orders", ["number"])
    op.create_foreign_key(
        "fk_orders_customer_id_customers",
        "orders",
        "customers",
        ["customer_id"],
        ["id"],
        ondelete="CASCADE",
    )
    op.create_foreign_key(
        "fk_orders_store_id_stores", "orders", "stores", ["store_id"], ["id"], postgresql_not_valid=True
    )
    op.create_check_constraint("ck_orders_total_positive", "orders", sa.text("total >= 0"))
    op.create_check_constraint(
        "ck_orders_qty_positive", "orders", "quantity > 0", postgresql_not_valid=True
    )
    op.create_exclude_constraint(
        "excl_orders_slot",
        "orders",
        (sa.column("slot"), "&&"),
        using="gist",
        postgresql_not_valid=True,
    )


def downgrade() -> None:
    op.drop_constraint("excl_orders_slot", "orders")
