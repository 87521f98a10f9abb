"""payments

Revision ID: e5f6a7b8c9d0
Revises: d4e5f6a7b8c9
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "e5f6a7b8c9d0"
down_revision: Union[str, None] = "d4e5f6a7b8c9"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None


def upgrade() -> None:
    op.create_table("payments", sa.Column("id", sa.Integer(), primary_key=True))
    op.add_column("payments", sa.Column("order_id", sa.Integer(), sa.ForeignKey("orders.id"), nullable=False))
    if op.get_context().dialect.name == "postgresql":
        op.create_table("refunds", sa.Column("id", sa.Integer(), primary_key=True))
    op.add_column("refunds", sa.Column("amount", sa.Numeric(), nullable=False))


def downgrade() -> None:
    op.drop_table("refunds")
    op.drop_table("payments")
