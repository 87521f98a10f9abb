"""create stock table

Revision ID: 1a2b3c4d5e6f
Revises:
Create Date: 2024-05-02 10:14:03.117204

"""
from alembic import op
import sqlalchemy as sa


revision = "1a2b3c4d5e6f"
down_revision = None
branch_labels = None
depends_on = None


def upgrade() -> None:
    op.create_table(
        "stock",
        sa.Column("id", sa.Integer(), nullable=False),
        sa.Column("sku", sa.String(length=64), nullable=False),
        sa.Column("quantity", sa.Integer(), nullable=False),
        sa.PrimaryKeyConstraint("id"),
    )
    # The table is new: indexing it here blocks nobody.
    op.create_index(op.f("ix_stock_sku"), "stock", ["sku"], unique=True)


def downgrade() -> None:
    op.drop_index(op.f("ix_stock_sku"), table_name="stock")
    op.drop_table("stock")
